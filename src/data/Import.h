#pragma once

#include "Categories.h"
#include "Dao.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <functional>

// Moving records in: CSV exports of this program, of other password keepers and of browsers.
namespace transfer {

// One record read from a file: its kind and its non-empty fields by plain field name.
struct Record
{
    Category category = Category::Web; // Credit, Travel or Web
    QList<QPair<QString, QString>> fields;
    int line = 0; // where it begins in the file

    QString value(const QString& field) const;
};

// Reads a CSV export. The header row tells the layout: this program's own (a "Kind" column and
// the fields of every kind), a password keeper's (Group, Title, Username, Password, URL, Notes),
// a vault's (folder, name, notes, login_uri, login_username, login_password, ...) or a
// browser's (url, username, password, with or without name and note). Title, address, login,
// password and notes make a web account; the group or folder becomes its site type; any other
// column with a value is kept as a line of the notes. Names and addresses too long for the
// edit dialog are shortened there and kept whole in the notes, so that no edit cuts them.
// On failure returns false and sets message to a text for the person: the line where the file
// is at fault, or the columns found when the header row is not one of a known export.
[[nodiscard]] bool readExport(const QByteArray& bytes, QList<Record>& out, QString& message);

// Marks the records that look like ones already in the data file: same kind, same name and
// same login (account number for credit cards and travel programs), without regard to case.
dao::Error findDuplicates(dao::Database& db, const QList<Record>& records, QList<bool>& duplicate);

// Adds the records in one transaction: all of them or, on failure, none. progress gets the
// number added so far and the whole.
dao::Error addRecords(dao::Database& db, const QList<Record>& records,
                      const std::function<void(int done, int total)>& progress = {});

} // namespace transfer
