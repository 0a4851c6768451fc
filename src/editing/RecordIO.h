#pragma once

#include "Categories.h"
#include "Dao.h"

#include <QList>
#include <QString>

class QComboBox;
class QWidget;

// Moving one record between the data file (gdb_Data) and an edit dialog. The dialog names its
// controls with the fields they hold.
struct RecordField
{
    const char* field; // bracketed field name
    QWidget* control;
};

// Copies the stored record into the dialog's controls; the personal record is read whatever the
// id. A field that cannot be copied is passed over. Opening the record fails with the error
// shown ("Corvanta Error") and false. Every control keeps what it was given, so that a dialog
// saved untouched writes back exactly what was stored, Null included, and a value longer than
// its field's limit is shown whole.
bool LoadRecord(Category kind, qint64 recordId, const QList<RecordField>& fields);

// Writes the dialog's controls into the record with recordId, or into a new record for id 0
// (the personal record: into the one record, added when there is none). A named record, new or
// existing, needs a name that is not blank: otherwise the kind's refusal is shown, the focus goes to
// the name field and nothing is touched. The record reaches the disk whole or not at all; any failure is
// shown ("Corvanta Error") and leaves the file and the dialog as they were. On success a new
// record's id goes to *newRecordId when given.
bool SaveRecord(Category kind, qint64 recordId, const QList<RecordField>& fields, qint64* newRecordId = nullptr);

// Appends the values of one drop-down list (Login, Password, Site Type, ...) to the dialog's
// combo box for it. The combo boxes keep their items in alphabetical order without regard to
// case, except the state list ("States"), which keeps the table's order. The text being edited
// stays as it is. Failures pass silently: the list is then shorter or empty.
void FillList(QComboBox* combo, const QString& kind);
