#pragma once

#include "Dao.h"

#include <QString>

// Record ids travel between the windows as text: the main window's id boxes, the id an edit
// dialog is opened with. A valid id is a whole number from 0 to 2147483647, blanks around it
// allowed; 0 names no stored record. Anything else is an error, 13 "Type mismatch" or, for a
// number out of that range, 6 "Overflow", and gives id 0.
dao::Error recordIdFromText(const QString& text, qint64& id);
// The same rule where the error is not wanted: the id, or 0.
qint64 recordIdFromText(const QString& text);
