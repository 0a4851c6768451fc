#pragma once

#include <QString>

namespace platform {

// The directory of the program's executable, where the data file and the documents lie.
// No separator at the end, except for the root directory itself.
QString ProgramDirectory();
// Tests put the program somewhere else; empty restores the real directory.
void setProgramDirectory(const QString& directory);

} // namespace platform
