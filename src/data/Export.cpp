#include "Export.h"

#include "CsvFile.h"
#include "Statements.h"

#include <QStringList>

#include <vector>

namespace transfer {

dao::Error exportAll(dao::Database& db, QByteArray& out, int& count,
                     const std::function<void(int done, int total)>& progress)
{
    out.clear();
    count = 0;
    // The fields come from the file's own tables, so the columns follow its schema.
    struct Source
    {
        const CategoryInfo* kind;
        dao::RecordsetPtr rows;
        QStringList fields;
    };
    std::vector<Source> sources;
    QStringList columns{QLatin1String(kKindColumn)};
    for (const CategoryInfo& kind : categories::all()) {
        Source source{&kind, nullptr, {}};
        if (dao::Error e = db.OpenRecordset(statements::wholeTable(kind.kind), source.rows, dao::dbOpenSnapshot)) {
            return e;
        }
        const QString key = kind.keyField.mid(1, kind.keyField.size() - 2);
        for (const QString& field : source.rows->FieldNames()) {
            if (field.compare(key, Qt::CaseInsensitive) == 0) {
                continue;
            }
            source.fields << field;
            if (!columns.contains(field, Qt::CaseInsensitive)) {
                columns << field;
            }
        }
        sources.push_back(std::move(source));
    }
    csv::appendRecord(out, columns);
    int total = 0;
    for (const Source& source : sources) {
        total += source.rows->RecordCount();
    }
    for (Source& source : sources) {
        std::vector<int> at;
        for (const QString& field : source.fields) {
            at.push_back(static_cast<int>(columns.indexOf(field)));
        }
        dao::Recordset& rows = *source.rows;
        while (!rows.Eof()) {
            QStringList values(columns.size());
            values[0] = source.kind->name;
            for (size_t i = 0; i < at.size(); ++i) {
                values[at[i]] = rows.Value(source.fields.at(static_cast<int>(i))).toString();
            }
            csv::appendRecord(out, values);
            ++count;
            if (progress) {
                progress(count, total);
            }
            if (dao::Error e = rows.MoveNext()) {
                return e;
            }
        }
    }
    return {};
}

} // namespace transfer
