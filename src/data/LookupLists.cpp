#include "LookupLists.h"

#include "Statements.h"

namespace lookup {

QStringList values(dao::Database& db, const QString& kind)
{
    QStringList items;
    const statements::LookupList list = statements::lookupList(kind);
    if (list.statement.isEmpty()) {
        return items;
    }
    dao::RecordsetPtr rs;
    if (db.OpenRecordset(list.statement, rs)) {
        return items;
    }
    while (!rs->Eof()) {
        QVariant value;
        if (!rs->Field(list.field, value) && !value.isNull()) {
            items << value.toString();
        }
        if (rs->MoveNext()) {
            break;
        }
    }
    return items;
}

int recordCount(dao::Database& db)
{
    dao::RecordsetPtr rs;
    if (db.OpenRecordset(statements::recordCount(), rs) || rs->Eof()) {
        return 0;
    }
    return rs->Value(QStringLiteral("[Records]")).toInt();
}

} // namespace lookup
