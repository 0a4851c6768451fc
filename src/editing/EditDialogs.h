#pragma once

#include <QString>

class QWidget;

// Opens the edit dialog of a record kind ("Personal", "Credit", "Travel", "Web") modally.
// recordId is the record's id as text, "0" for a new record (the personal record ignores it);
// when the dialog saves a new record, recordId receives the new record's id. Returns true when
// the dialog was left with a successful save (OK), false for Cancel or Esc.
bool ShowEditDialog(const QString& recordCategory, QString& recordId, QWidget* parent = nullptr);
