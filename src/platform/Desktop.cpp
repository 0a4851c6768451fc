#include "Desktop.h"

#include <QCoreApplication>

namespace platform {

namespace {

QString& directoryOverride()
{
    static QString directory;
    return directory;
}

} // namespace

QString ProgramDirectory()
{
    if (!directoryOverride().isEmpty()) {
        return directoryOverride();
    }
    return QCoreApplication::applicationDirPath();
}

void setProgramDirectory(const QString& directory)
{
    directoryOverride() = directory;
}

} // namespace platform
