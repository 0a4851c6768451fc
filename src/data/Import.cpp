#include "Import.h"

#include "CsvFile.h"
#include "Export.h"
#include "Statements.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <QUrl>

#include <array>
#include <map>
#include <set>

namespace transfer {

namespace {

// The CSV exports of other keepers, told apart by their header rows.
struct Layout
{
    // Columns that, all present, identify the layout (compared without regard to case).
    std::array<const char*, 3> identifying;
    // The columns that give a web account's fields; nullptr where the layout has none.
    const char* site;
    const char* url;
    const char* login;
    const char* password;
    const char* notes;
    const char* group;
    // Group paths begin with the root group, whose name says nothing about the account.
    bool rootedGroups;
    // The exporter's own bookkeeping, nothing a person would miss.
    std::array<const char*, 6> ignored;
};

const Layout kLayouts[] = {
    // A password keeper's: one entry per row, its group as a path.
    {{"Title", "Username", "Password"},
     "Title",
     "URL",
     "Username",
     "Password",
     "Notes",
     "Group",
     true,
     {"Icon", "Last Modified", "Created"}},
    // A vault's: logins and notes, in folders.
    {{"name", "login_username", "login_password"},
     "name",
     "login_uri",
     "login_username",
     "login_password",
     "notes",
     "folder",
     false,
     {"favorite", "type", "reprompt"}},
    // A browser's: with or without a name column, with a note column or with its own bookkeeping.
    {{"url", "username", "password"},
     "name",
     "url",
     "username",
     "password",
     "note",
     nullptr,
     false,
     {"httpRealm", "formActionOrigin", "guid", "timeCreated", "timeLastUsed", "timePasswordChanged"}},
};

int columnOf(const QStringList& header, const char* name)
{
    if (name == nullptr) {
        return -1;
    }
    for (int c = 0; c < header.size(); ++c) {
        if (header.at(c).trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
            return c;
        }
    }
    return -1;
}

QString cannotImport(int line, const QString& reason)
{
    return QStringLiteral("The file cannot be imported: line %1: %2.").arg(line).arg(reason);
}

QString notRecognised(const QStringList& header)
{
    QStringList found;
    for (const QString& column : header) {
        found << QLatin1Char('"') + column.trimmed() + QLatin1Char('"');
    }
    return QStringLiteral("The file cannot be imported: its header row is not that of a known export. Columns "
                          "found: %1. Import reads the CSV exports of this program, of password keepers (Title, "
                          "Username, Password, URL, Notes) and of browsers (name, url, username, password).")
        .arg(found.join(QLatin1String(", ")));
}

QString siteType(const QString& group, bool rooted)
{
    QStringList parts = group.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (rooted && !parts.isEmpty()) {
        parts.removeFirst();
    }
    return parts.isEmpty() ? QString() : parts.last().trimmed();
}

QString hostName(const QString& address)
{
    QString host = QUrl::fromUserInput(address).host();
    if (host.startsWith(QLatin1String("www."))) {
        host.remove(0, 4);
    }
    return host;
}

// A web account from one row of another keeper's export; false for a row with nothing in it.
bool webAccount(const Layout& layout, const QStringList& header, const QStringList& row, Record& out)
{
    auto at = [&](const char* name) {
        const int c = columnOf(header, name);
        return c >= 0 ? row.at(c) : QString();
    };
    QString site = at(layout.site).trimmed();
    QString url = at(layout.url).trimmed();
    const QString login = at(layout.login);
    const QString password = at(layout.password);
    QStringList notes;
    if (!at(layout.notes).isEmpty()) {
        notes << at(layout.notes);
    }
    const QString type = siteType(at(layout.group), layout.rootedGroups);
    for (int c = 0; c < header.size(); ++c) {
        const QString name = header.at(c).trimmed();
        bool known = false;
        for (const char* column :
             {layout.site, layout.url, layout.login, layout.password, layout.notes, layout.group}) {
            known = known || (column != nullptr && name.compare(QLatin1String(column), Qt::CaseInsensitive) == 0);
        }
        for (const char* column : layout.ignored) {
            known = known || (column != nullptr && name.compare(QLatin1String(column), Qt::CaseInsensitive) == 0);
        }
        if (!known && !row.at(c).trimmed().isEmpty()) {
            notes << name + QStringLiteral(": ") + row.at(c);
        }
    }
    if (site.isEmpty() && url.isEmpty() && login.isEmpty() && password.isEmpty() && notes.isEmpty()) {
        return false;
    }
    if (site.isEmpty()) {
        site = hostName(url);
    }
    if (site.isEmpty()) {
        site = login.trimmed().isEmpty() ? QStringLiteral("Untitled") : login.trimmed();
    }
    out.category = Category::Web;
    const QPair<QString, QString> fields[] = {
        {QStringLiteral("Web Site"), site},     {QStringLiteral("Site Type"), type},
        {QStringLiteral("URL"), url},           {QStringLiteral("Login"), login},
        {QStringLiteral("Password"), password}, {QStringLiteral("Notes"), notes.join(QLatin1Char('\n'))}};
    for (const auto& field : fields) {
        if (!field.second.isEmpty()) {
            out.fields << field;
        }
    }
    return true;
}

QString plainName(const QString& bracketed)
{
    return bracketed.mid(1, bracketed.size() - 2);
}

// The name and login of a record, folded for a comparison without regard to case.
QString duplicateKey(Category category, const QString& name, const QString& login)
{
    return categories::info(category).name + QChar(0x1F) + name.toCaseFolded() + QChar(0x1F) + login.toCaseFolded();
}

QString loginField(Category category)
{
    return category == Category::Web ? QStringLiteral("Login") : QStringLiteral("Account Number");
}

} // namespace

QString Record::value(const QString& field) const
{
    for (const auto& [name, text] : fields) {
        if (name.compare(field, Qt::CaseInsensitive) == 0) {
            return text;
        }
    }
    return {};
}

bool readExport(const QByteArray& bytes, QList<Record>& out, QString& message)
{
    out.clear();
    csv::Table table;
    csv::Fault fault;
    if (!csv::read(bytes, table, fault)) {
        message = cannotImport(fault.line, fault.reason);
        return false;
    }
    if (table.records.isEmpty()) {
        message = QStringLiteral("The file cannot be imported: it is empty.");
        return false;
    }
    const QStringList header = table.records.first();
    for (int r = 1; r < table.records.size(); ++r) {
        if (table.records.at(r).size() != header.size()) {
            message = cannotImport(table.lines.at(r), QStringLiteral("it has %1 fields where the header row has %2")
                                                          .arg(table.records.at(r).size())
                                                          .arg(header.size()));
            return false;
        }
    }
    const int kindAt = columnOf(header, kKindColumn);
    if (kindAt >= 0 && columnOf(header, "Web Site") >= 0) {
        // This program's own: every kind, the fields by their names.
        for (int r = 1; r < table.records.size(); ++r) {
            const QStringList& row = table.records.at(r);
            const CategoryInfo* kind = categories::named(row.at(kindAt).trimmed());
            if (kind == nullptr) {
                message = cannotImport(table.lines.at(r), QStringLiteral("the kind \"%1\" is none of Personal, "
                                                                         "Credit, Travel, Web")
                                                              .arg(row.at(kindAt)));
                return false;
            }
            if (kind->kind == Category::Personal) {
                continue; // the one personal record is the person's own, typed at the first start
            }
            Record record{kind->kind, {}, table.lines.at(r)};
            const QString key = plainName(kind->keyField);
            for (int c = 0; c < header.size(); ++c) {
                // Counter keys are the engine's to give.
                const bool isKey = header.at(c).trimmed().compare(key, Qt::CaseInsensitive) == 0;
                if (c != kindAt && !isKey && !row.at(c).isEmpty()) {
                    record.fields << qMakePair(header.at(c).trimmed(), row.at(c));
                }
            }
            out << record;
        }
        return true;
    }
    for (const Layout& layout : kLayouts) {
        bool matches = true;
        for (const char* column : layout.identifying) {
            matches = matches && columnOf(header, column) >= 0;
        }
        if (!matches) {
            continue;
        }
        for (int r = 1; r < table.records.size(); ++r) {
            Record record;
            if (webAccount(layout, header, table.records.at(r), record)) {
                record.line = table.lines.at(r);
                out << record;
            }
        }
        return true;
    }
    message = notRecognised(header);
    return false;
}

dao::Error findDuplicates(dao::Database& db, const QList<Record>& records, QList<bool>& duplicate)
{
    duplicate.clear();
    QSet<QString> existing;
    std::set<Category> read;
    for (const Record& record : records) {
        if (read.count(record.category) > 0) {
            continue;
        }
        read.insert(record.category);
        const CategoryInfo& kind = categories::info(record.category);
        dao::RecordsetPtr rows;
        if (dao::Error e = db.OpenRecordset(statements::wholeTable(record.category), rows, dao::dbOpenSnapshot)) {
            return e;
        }
        const QString name = plainName(kind.nameField);
        const QString login = loginField(record.category);
        while (!rows->Eof()) {
            existing.insert(duplicateKey(record.category, rows->Value(name).toString(), rows->Value(login).toString()));
            if (dao::Error e = rows->MoveNext()) {
                return e;
            }
        }
    }
    for (const Record& record : records) {
        const CategoryInfo& kind = categories::info(record.category);
        duplicate << existing.contains(duplicateKey(record.category, record.value(plainName(kind.nameField)),
                                                    record.value(loginField(record.category))));
    }
    return {};
}

dao::Error addRecords(dao::Database& db, const QList<Record>& records,
                      const std::function<void(int done, int total)>& progress)
{
    if (records.isEmpty()) {
        return {};
    }
    dao::Transaction transaction;
    if (dao::Error e = transaction.begin()) {
        return e;
    }
    struct Target
    {
        dao::RecordsetPtr rows;
        QStringList fields;
    };
    // Destroyed before the transaction, so the record sets close before it rolls back.
    std::map<Category, Target> targets;
    for (int i = 0; i < records.size(); ++i) {
        const Record& record = records.at(i);
        Target& target = targets[record.category];
        if (!target.rows) {
            if (dao::Error e =
                    db.OpenRecordset(statements::wholeTable(record.category), target.rows, dao::dbOpenDynaset)) {
                return e;
            }
            target.fields = target.rows->FieldNames();
        }
        if (dao::Error e = target.rows->AddNew()) {
            return e;
        }
        for (const auto& [name, text] : record.fields) {
            // A column of this program's own export that belongs to another kind stays empty.
            if (!target.fields.contains(name, Qt::CaseInsensitive)) {
                continue;
            }
            if (dao::Error e = target.rows->SetField(name, text)) {
                target.rows->CancelUpdate();
                return e;
            }
        }
        if (dao::Error e = target.rows->Update()) {
            target.rows->CancelUpdate();
            return e;
        }
        if (progress) {
            progress(i + 1, static_cast<int>(records.size()));
        }
    }
    targets.clear();
    return transaction.commit();
}

} // namespace transfer
