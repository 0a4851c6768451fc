#pragma once

#include "Categories.h"
#include "EditDialog.h"

#include <QString>

#include <memory>

class QWidget;

// The edit dialog of a record kind, made but not loaded.
std::unique_ptr<EditDialog> MakeEditDialog(Category kind, QWidget* parent = nullptr);

// Opens the edit dialog of a record kind modally. recordId is the record's id as text, "0" for a
// new record (the personal record ignores it); when the dialog saves a new record, recordId
// receives the new record's id. Returns true when the dialog was left with a successful save
// (OK), false for Cancel or Esc.
bool ShowEditDialog(Category kind, QString& recordId, QWidget* parent = nullptr);
