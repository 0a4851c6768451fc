#pragma once

#include "Dao.h"
#include "LookupLists.h"

#include <QStringList>

class QComboBox;

// Filling the edit dialogs' drop-down lists. A list may hold every login or password of the
// file; it is filled in one step, and where the file is large it is read on another thread, from
// a copy of the database, so that the dialog shows at once and typing never waits for a list.
namespace dropdown {

// Up to this many cards, programs and web accounts together, the lists are filled before the
// dialog shows; beyond it they arrive shortly after.
constexpr int kFillAtOnceRecords = lookup::kReadAtOnceRecords;
// Beyond this many values a list pops up what matches the typed start: nobody scrolls through
// thousands of values.
constexpr qsizetype kLongList = 200;

// The items a list shows: those it held, then the values, all in alphabetical order without
// regard to case when sorted, a repeated value keeping the order it came in.
QStringList merged(QStringList items, const QStringList& values, bool sorted);

// Gives the combo box its items in one step; the text being edited, its cursor and selection
// stay as they are.
void show(QComboBox* combo, const QStringList& items, bool sorted);

// Adds the values of the list kind in db to the combo box. Every list of one dialog that arrives
// late is read from one copy of the database.
void fill(QComboBox* combo, dao::Database& db, const QString& kind, bool sorted);

} // namespace dropdown
