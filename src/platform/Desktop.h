#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// The directory of the program's executable, where a portable copy keeps its data file and the
// documents lie. No separator at the end, except for the root directory itself.
QString ProgramDirectory();
// Tests put the program somewhere else; empty restores the real directory.
void setProgramDirectory(const QString& directory);

// The person's own data folder, $XDG_DATA_HOME/Corvanta (by default ~/.local/share/Corvanta),
// where the data file lives when there is none beside the program. It may not exist yet.
QString UserDataDirectory();
// Creates the person's data folder, readable by its owner only (0700), with any missing parent.
// An existing folder is left as it is. False when it cannot be made.
bool MakeUserDataDirectory();

// What an installed program ships read-only: <prefix>/share/corvanta for <prefix>/bin/corvanta.
QString SharedDataDirectory();
// The folders a document of the Help menu is looked for in, in order: beside the program, then
// the installed <prefix>/share/doc/corvanta.
QStringList DocumentDirectories();

} // namespace platform
