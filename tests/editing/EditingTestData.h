#pragma once

#include "EditDialog.h"
#include "EditDialogs.h"
#include "EngineFixture.h"
#include "General.h"
#include "Statements.h"
#include "frm_CreditCards.h"
#include "frm_PersonalInformation.h"
#include "frm_TravelPrograms.h"
#include "frm_WebAccounts.h"

#include <QTemporaryDir>
#include <QTest>
#include <QVariantMap>

#include <memory>

namespace editingtest {

// A fresh data file for one test, opened as the program's database.
class DataFile
{
public:
    DataFile()
    {
        path = fixture::createDataFile(dir.path());
        gdb_Data = fixture::open(path);
    }
    ~DataFile() { gdb_Data.reset(); }
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    QTemporaryDir dir;
    QString path;
};

inline std::unique_ptr<EditDialog> dialogFor(const QString& category)
{
    return MakeEditDialog(categories::named(category)->kind);
}

inline QString tableOf(const QString& category)
{
    return categories::named(category)->table;
}

// Every field of the record with the id (the personal record: the first one), Null as a null
// QVariant; empty when there is no such record.
inline QVariantMap storedRow(const QString& category, qint64 id)
{
    QVariantMap row;
    dao::RecordsetPtr rs;
    if (gdb_Data->OpenRecordset(statements::loadRecord(categories::named(category)->kind, id), rs) || rs->Eof()) {
        return row;
    }
    for (const QString& field : rs->FieldNames()) {
        row.insert(field, rs->Value(field));
    }
    return row;
}

inline int rowCount(const QString& category)
{
    dao::RecordsetPtr rs;
    if (gdb_Data->OpenRecordset(statements::wholeTable(categories::named(category)->kind), rs)) {
        return -1;
    }
    return rs->RecordCount();
}

template <typename T> T* child(QWidget* dialog, const char* name)
{
    T* found = dialog->findChild<T*>(QLatin1String(name));
    if (found == nullptr) {
        qWarning("no control %s", name);
    }
    return found;
}

} // namespace editingtest
