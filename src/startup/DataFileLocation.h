#pragma once

#include <QString>
#include <QStringList>

// Where the data file is: beside the program for a portable copy, else in the person's own data
// folder, where no rebuild or fresh checkout of the program can delete it.
namespace datafile {

struct Location
{
    // The file to open. When no place holds one, the file beside the program, so that opening
    // it reports the missing file.
    QString path;
    // The folders looked in, in order, for the message about a missing file.
    QStringList placesLooked;
};

// Looks beside the program, then in the per-user folder. When neither holds a data file and an
// installed program's empty data file is found, that one is copied into the per-user folder
// (0700 folder, 0600 file; an existing file is never overwritten) and used.
Location Locate();

// The line added to the message about a missing file, naming the places looked in.
QString PlacesLookedText(const QStringList& places);

} // namespace datafile
