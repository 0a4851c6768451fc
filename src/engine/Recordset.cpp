#include "Dao.h"
#include "DatabaseCore.h"

#include <QRegularExpression>

#include <sqlite3.h>

#include <unordered_set>

namespace dao {

namespace {

QVariant columnValue(sqlite3_stmt* stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_INTEGER:
        return QVariant(static_cast<qint64>(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, column));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, column)),
                                   sqlite3_column_bytes(stmt, column)));
    default:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                                          sqlite3_column_bytes(stmt, column)));
    }
}

void bindValue(sqlite3_stmt* stmt, int index, const QVariant& value)
{
    if (value.isNull()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
        sqlite3_bind_int64(stmt, index, value.toLongLong());
        return;
    case QMetaType::Double:
        sqlite3_bind_double(stmt, index, value.toDouble());
        return;
    default: {
        const QByteArray utf8 = value.toString().toUtf8();
        sqlite3_bind_text(stmt, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
        return;
    }
    }
}

// "[Web Accounts].[E-Mail Address]", "[E-Mail Address]" and "E-Mail Address" all name the
// field "E-Mail Address".
QString plainFieldName(const QString& name)
{
    QString n = name.trimmed();
    const int dot = n.lastIndexOf(QLatin1String("]."));
    if (dot >= 0) {
        n = n.mid(dot + 2);
    } else if (!n.startsWith(QLatin1Char('[')) && n.contains(QLatin1Char('.'))) {
        n = n.mid(n.lastIndexOf(QLatin1Char('.')) + 1);
    }
    if (n.startsWith(QLatin1Char('[')) && n.endsWith(QLatin1Char(']'))) {
        n = n.mid(1, n.size() - 2);
    }
    return n;
}

// A name in brackets; a bracket inside it is doubled, or the name would end there.
QString quoted(const QString& field)
{
    return QLatin1Char('[') + QString(field).replace(QLatin1Char(']'), QLatin1String("]]")) + QLatin1Char(']');
}

Error stepError(sqlite3* db)
{
    const int code = sqlite3_errcode(db);
    if (code == SQLITE_NOMEM) {
        return makeError(err::OutOfMemory);
    }
    if (code == SQLITE_FULL) {
        return makeError(err::DiskFull);
    }
    return Error(err::QuerySyntax,
                 describe(err::QuerySyntax) + QLatin1Char(' ') + QString::fromUtf8(sqlite3_errmsg(db)));
}

} // namespace

Recordset::~Recordset()
{
    Close();
}

void Recordset::Close()
{
    m_fetch.reset(); // before the connection it belongs to
    if (m_reading.owns_lock()) {
        // The last reader of a copy that was given up lets its memory go.
        m_core->releaseGivenUp();
        m_reading.unlock();
    }
    m_core.reset();
    m_keys.clear();
    m_rows.clear();
    m_current.clear();
    m_cacheValid = false;
}

Error Recordset::checkOpen() const
{
    return m_core ? Error() : makeError(err::ObjectClosed);
}

int Recordset::size() const
{
    if (m_forwardOnly) {
        return m_pos + static_cast<int>(m_rows.size()); // the rows passed and the current one
    }
    return static_cast<int>(m_updatable ? m_keys.size() : m_rows.size());
}

Error Recordset::load()
{
    static const QRegularExpression singleTable(
        QStringLiteral(R"(^\s*select\s+\*\s*from\s*(\[[^\]]+\]|[A-Za-z_][A-Za-z0-9_]*)(.*)$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression combined(QStringLiteral(R"(\b(union|join|group|distinct)\b|,)"),
                                             QRegularExpression::CaseInsensitiveOption);
    m_keys.clear();
    m_rows.clear();
    m_columns.clear();
    m_fetch.reset();
    m_cacheValid = false;
    m_currentDeleted = false;
    m_noMatch = false;
    m_editMode = EditMode::None;

    const auto match = singleTable.match(m_statement);
    m_updatable = !m_forwardOnly && match.hasMatch() && !combined.match(match.captured(2)).hasMatch();
    if (m_updatable) {
        m_table = match.captured(1);
        Statement columns;
        if (Error e =
                m_core->prepare(QStringLiteral("SELECT * FROM ") + m_table + QStringLiteral(" LIMIT 0"), columns)) {
            return e;
        }
        for (int i = 0; i < sqlite3_column_count(columns.get()); ++i) {
            m_columns << QString::fromUtf8(sqlite3_column_name(columns.get(), i));
        }
        Statement keys;
        if (Error e = m_core->prepare(QStringLiteral("SELECT rowid FROM ") + m_table + match.captured(2), keys)) {
            return e;
        }
        int rc;
        while ((rc = sqlite3_step(keys.get())) == SQLITE_ROW) {
            m_keys.push_back(sqlite3_column_int64(keys.get(), 0));
        }
        if (rc != SQLITE_DONE) {
            return stepError(m_core->db());
        }
        m_fetch = std::make_unique<Statement>();
        if (Error e = m_core->prepare(QStringLiteral("SELECT * FROM ") + m_table + QStringLiteral(" WHERE rowid = ?1"),
                                      *m_fetch)) {
            return e;
        }
    } else {
        m_table.clear();
        Statement stmt;
        if (Error e = m_core->prepare(m_statement, stmt)) {
            return e;
        }
        const int count = sqlite3_column_count(stmt.get());
        for (int i = 0; i < count; ++i) {
            m_columns << QString::fromUtf8(sqlite3_column_name(stmt.get(), i));
        }
        if (m_forwardOnly) {
            m_fetch = std::make_unique<Statement>(std::move(stmt));
            m_pos = 0;
            return stepForward();
        }
        int rc;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
            std::vector<QVariant> row(static_cast<size_t>(count));
            for (int i = 0; i < count; ++i) {
                row[static_cast<size_t>(i)] = columnValue(stmt.get(), i);
            }
            m_rows.push_back(std::move(row));
        }
        if (rc != SQLITE_DONE) {
            return stepError(m_core->db());
        }
    }
    m_pos = size() > 0 ? 0 : -1;
    return {};
}

Error Recordset::Requery()
{
    if (Error e = checkOpen()) {
        return e;
    }
    return load();
}

Error Recordset::stepForward()
{
    sqlite3_stmt* stmt = m_fetch->get();
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
        const int count = sqlite3_column_count(stmt);
        m_rows.resize(1);
        m_rows.front().resize(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            m_rows.front()[static_cast<size_t>(i)] = columnValue(stmt, i);
        }
        return {};
    }
    m_rows.clear();
    m_fetch.reset();
    return rc == SQLITE_DONE ? Error() : stepError(m_core->db());
}

bool Recordset::Bof() const
{
    if (m_currentDeleted) {
        return false;
    }
    return size() == 0 || m_pos < 0;
}

bool Recordset::Eof() const
{
    if (m_currentDeleted) {
        return false;
    }
    return size() == 0 || m_pos >= size();
}

int Recordset::RecordCount() const
{
    return size();
}

int Recordset::AbsolutePosition() const
{
    return (Bof() || Eof() || m_currentDeleted) ? -1 : m_pos;
}

Error Recordset::MoveFirst()
{
    return Move(0);
}

Error Recordset::MoveLast()
{
    if (m_forwardOnly) {
        return makeError(err::NoCurrentRecord);
    }
    return Move(size() - 1);
}

Error Recordset::Move(int position)
{
    if (Error e = checkOpen()) {
        return e;
    }
    if (position < 0 || position >= size() || (m_forwardOnly && position != m_pos)) {
        return makeError(err::NoCurrentRecord);
    }
    CancelUpdate();
    m_pos = position;
    m_currentDeleted = false;
    invalidate();
    return {};
}

Error Recordset::MoveNext()
{
    if (Error e = checkOpen()) {
        return e;
    }
    CancelUpdate();
    invalidate();
    if (m_currentDeleted) {
        // The rows after a deleted one have moved up into its place already.
        m_currentDeleted = false;
        m_pos = std::min(m_pos, size());
        return {};
    }
    if (Eof()) {
        return makeError(err::NoCurrentRecord);
    }
    ++m_pos;
    return m_forwardOnly ? stepForward() : Error();
}

Error Recordset::MovePrevious()
{
    if (Error e = checkOpen()) {
        return e;
    }
    CancelUpdate();
    invalidate();
    if (m_currentDeleted) {
        m_currentDeleted = false;
        m_pos = std::max(-1, m_pos - 1);
        return {};
    }
    if (Bof() || m_forwardOnly) {
        return makeError(err::NoCurrentRecord);
    }
    --m_pos;
    return {};
}

QStringList Recordset::FieldNames() const
{
    return m_columns;
}

int Recordset::columnIndex(const QString& name) const
{
    const QString plain = plainFieldName(name);
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).compare(plain, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

Error Recordset::fetchCurrent() const
{
    if (m_cacheValid) {
        return {};
    }
    if (m_currentDeleted) {
        return makeError(err::RecordDeleted);
    }
    if (Bof() || Eof()) {
        return makeError(err::NoCurrentRecord);
    }
    if (!m_updatable) {
        m_current = m_rows[m_forwardOnly ? 0 : static_cast<size_t>(m_pos)];
        m_cacheValid = true;
        return {};
    }
    sqlite3_stmt* stmt = m_fetch->get();
    sqlite3_reset(stmt);
    sqlite3_bind_int64(stmt, 1, m_keys[static_cast<size_t>(m_pos)]);
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) {
        sqlite3_reset(stmt);
        return makeError(err::RecordDeleted); // removed through another record set
    }
    if (rc != SQLITE_ROW) {
        Error e = stepError(m_core->db());
        sqlite3_reset(stmt);
        return e;
    }
    const int count = sqlite3_column_count(stmt);
    m_current.assign(static_cast<size_t>(count), QVariant());
    for (int i = 0; i < count; ++i) {
        m_current[static_cast<size_t>(i)] = columnValue(stmt, i);
    }
    sqlite3_reset(stmt); // a stepped statement would keep the database busy
    m_cacheValid = true;
    return {};
}

Error Recordset::Field(const QString& name, QVariant& value) const
{
    if (Error e = checkOpen()) {
        return e;
    }
    const int index = columnIndex(name);
    if (index < 0) {
        return makeError(err::ItemNotFound);
    }
    if (m_editMode != EditMode::None) {
        value = m_buffer[static_cast<size_t>(index)];
        return {};
    }
    if (Error e = fetchCurrent()) {
        return e;
    }
    value = m_current[static_cast<size_t>(index)];
    return {};
}

QVariant Recordset::Value(const QString& name) const
{
    QVariant value;
    if (Field(name, value)) {
        return QVariant();
    }
    return value;
}

Error Recordset::SetField(const QString& name, const QVariant& value)
{
    if (Error e = checkOpen()) {
        return e;
    }
    if (m_editMode == EditMode::None) {
        return makeError(err::UpdateWithoutEdit);
    }
    const int index = columnIndex(name);
    if (index < 0) {
        return makeError(err::ItemNotFound);
    }
    m_buffer[static_cast<size_t>(index)] = value;
    m_touched[static_cast<size_t>(index)] = true;
    return {};
}

Error Recordset::AddNew()
{
    if (Error e = checkOpen()) {
        return e;
    }
    if (!m_updatable || m_core->readOnly()) {
        return makeError(err::ReadOnly);
    }
    m_buffer.assign(static_cast<size_t>(m_columns.size()), QVariant());
    m_touched.assign(static_cast<size_t>(m_columns.size()), false);
    m_editMode = EditMode::AddNew;
    return {};
}

Error Recordset::Edit()
{
    if (Error e = checkOpen()) {
        return e;
    }
    if (!m_updatable || m_core->readOnly()) {
        return makeError(err::ReadOnly);
    }
    if (Error e = fetchCurrent()) {
        return e;
    }
    m_buffer = m_current;
    m_touched.assign(static_cast<size_t>(m_columns.size()), false);
    m_editMode = EditMode::Edit;
    return {};
}

void Recordset::CancelUpdate()
{
    m_editMode = EditMode::None;
    m_buffer.clear();
    m_touched.clear();
}

Error Recordset::Update()
{
    if (Error e = checkOpen()) {
        return e;
    }
    if (m_editMode == EditMode::None) {
        return makeError(err::UpdateWithoutEdit);
    }
    const bool adding = m_editMode == EditMode::AddNew;
    QStringList names;
    std::vector<size_t> indexes;
    for (size_t i = 0; i < m_touched.size(); ++i) {
        if (m_touched[i]) {
            names << quoted(m_columns.at(static_cast<int>(i)));
            indexes.push_back(i);
        }
    }
    QString sql;
    if (adding) {
        if (names.isEmpty()) {
            sql = QStringLiteral("INSERT INTO ") + m_table + QStringLiteral(" DEFAULT VALUES");
        } else {
            QStringList marks;
            for (size_t i = 0; i < indexes.size(); ++i) {
                marks << QStringLiteral("?%1").arg(i + 1);
            }
            sql = QStringLiteral("INSERT INTO ") + m_table + QStringLiteral(" (") + names.join(QLatin1String(", ")) +
                  QStringLiteral(") VALUES (") + marks.join(QLatin1String(", ")) + QLatin1Char(')');
        }
    } else {
        if (names.isEmpty()) {
            CancelUpdate();
            return {};
        }
        QStringList sets;
        for (int i = 0; i < names.size(); ++i) {
            sets << names.at(i) + QStringLiteral(" = ?%1").arg(i + 1);
        }
        sql = QStringLiteral("UPDATE ") + m_table + QStringLiteral(" SET ") + sets.join(QLatin1String(", ")) +
              QStringLiteral(" WHERE rowid = ?%1").arg(indexes.size() + 1);
    }
    Statement stmt;
    if (Error e = m_core->prepare(sql, stmt)) {
        return e;
    }
    for (size_t i = 0; i < indexes.size(); ++i) {
        bindValue(stmt.get(), static_cast<int>(i + 1), m_buffer[indexes[i]]);
    }
    if (!adding) {
        sqlite3_bind_int64(stmt.get(), static_cast<int>(indexes.size() + 1), m_keys[static_cast<size_t>(m_pos)]);
    }
    if (sqlite3_step(stmt.get()) != SQLITE_DONE) {
        return stepError(m_core->db());
    }
    if (!adding && sqlite3_changes(m_core->db()) == 0) {
        CancelUpdate();
        return makeError(err::RecordDeleted);
    }
    const qint64 key = adding ? sqlite3_last_insert_rowid(m_core->db()) : 0;
    stmt = Statement();
    CancelUpdate();
    invalidate();
    if (adding) {
        m_keys.push_back(key);
    }
    if (Error e = m_core->changed()) {
        if (adding) {
            m_keys.pop_back();
        }
        return e;
    }
    if (adding) {
        m_lastInserted = key;
        m_core->setLastInsertedKey(key);
    }
    return {};
}

Error Recordset::Delete()
{
    if (Error e = checkOpen()) {
        return e;
    }
    if (!m_updatable || m_core->readOnly()) {
        return makeError(err::ReadOnly);
    }
    if (m_currentDeleted || Bof() || Eof()) {
        return makeError(err::NoCurrentRecord);
    }
    CancelUpdate();
    Statement stmt;
    if (Error e =
            m_core->prepare(QStringLiteral("DELETE FROM ") + m_table + QStringLiteral(" WHERE rowid = ?1"), stmt)) {
        return e;
    }
    const qint64 key = m_keys[static_cast<size_t>(m_pos)];
    sqlite3_bind_int64(stmt.get(), 1, key);
    if (sqlite3_step(stmt.get()) != SQLITE_DONE) {
        return stepError(m_core->db());
    }
    stmt = Statement();
    m_keys.erase(m_keys.begin() + m_pos);
    m_currentDeleted = true;
    invalidate();
    if (Error e = m_core->changed()) {
        m_keys.insert(m_keys.begin() + m_pos, key);
        m_currentDeleted = false;
        return e;
    }
    return {};
}

Error Recordset::FindFirst(const QString& criteria)
{
    static const QRegularExpression form(QStringLiteral(R"(^\s*(\[[^\]]+\]|[A-Za-z_][A-Za-z0-9_]*)\s*=\s*(.*?)\s*$)"),
                                         QRegularExpression::DotMatchesEverythingOption);
    if (Error e = checkOpen()) {
        return e;
    }
    const auto match = form.match(criteria);
    if (!match.hasMatch()) {
        return makeError(err::CriteriaSyntax);
    }
    const int column = columnIndex(match.captured(1));
    if (column < 0) {
        return makeError(err::ItemNotFound);
    }
    // The text runs from the first quote to the last, so that a name holding an apostrophe
    // ("O'Hare Club") is taken whole rather than cut at its apostrophe.
    const QString literal = match.captured(2);
    QVariant wanted;
    if (literal.size() >= 2 && (literal.front() == QLatin1Char('\'') || literal.front() == QLatin1Char('"')) &&
        literal.back() == literal.front()) {
        wanted = literal.mid(1, literal.size() - 2);
    } else {
        bool ok = false;
        const qint64 number = literal.toLongLong(&ok);
        if (!ok) {
            return makeError(err::CriteriaSyntax);
        }
        wanted = number;
    }
    CancelUpdate();
    int found = -1;
    if (m_updatable) {
        Statement stmt;
        if (Error e = m_core->prepare(QStringLiteral("SELECT rowid FROM ") + m_table + QStringLiteral(" WHERE ") +
                                          quoted(m_columns.at(column)) + QStringLiteral(" = ?1"),
                                      stmt)) {
            return e;
        }
        bindValue(stmt.get(), 1, wanted);
        std::unordered_set<qint64> matches;
        int rc;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
            matches.insert(sqlite3_column_int64(stmt.get(), 0));
        }
        if (rc != SQLITE_DONE) {
            return stepError(m_core->db());
        }
        for (size_t i = 0; i < m_keys.size() && found < 0 && !matches.empty(); ++i) {
            if (matches.count(m_keys[i])) {
                found = static_cast<int>(i);
            }
        }
    } else {
        for (size_t i = 0; i < m_rows.size() && found < 0; ++i) {
            const QVariant& v = m_rows[i][static_cast<size_t>(column)];
            if (v.isNull()) {
                continue;
            }
            const bool equal = wanted.metaType().id() == QMetaType::LongLong
                                   ? (v.metaType().id() == QMetaType::LongLong && v.toLongLong() == wanted.toLongLong())
                                   : v.toString().compare(wanted.toString(), Qt::CaseInsensitive) == 0;
            if (equal) {
                found = static_cast<int>(i);
            }
        }
    }
    m_noMatch = found < 0;
    if (found >= 0) {
        m_pos = found;
        m_currentDeleted = false;
        invalidate();
    }
    return {};
}

} // namespace dao
