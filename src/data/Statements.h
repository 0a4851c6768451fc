#pragma once

#include "Categories.h"

#include <QString>

// Every statement and search criterion the program sends to the data engine, in one place.
namespace statements {

// Connect texts.
QString connectFirst();                       // the first opening at start: no password yet
QString connectWith(const QString& password); // every opening with the user's password
QString connectBeside(); // the same, for a password handed beside it: the connect text holds none of it
QString compactConnect(const QString& password); // the password argument of a compaction

// The personal record: the check at start and the main window's personal frame.
QString personalCheck();
QString personalFrame();
// The record source of a kind's data view, ordered by name.
QString listView(Category kind);
// One record of a kind for an edit dialog; the personal record has no id.
QString loadRecord(Category kind, qint64 id);
// The updatable record set a dialog saves into: the record itself, or the whole table for a
// new one (id 0) and for the personal record.
QString saveRecord(Category kind, qint64 id);
// The whole table.
QString wholeTable(Category kind);

// The drop-down lists. Each returns distinct (or, for web accounts, all) values in ascending
// order without regard to case, Null and empty left out.
struct LookupList
{
    QString field;     // bracketed field read from each row
    QString statement; // empty for an unknown kind
};
LookupList lookupList(const QString& kind);
// One row, one column: how many cards, programs and web accounts the file holds.
QString recordCount();

// Search criteria of the data views.
QString criteriaById(Category kind, qint64 id);
QString criteriaByWebSite(const QString& name);

} // namespace statements
