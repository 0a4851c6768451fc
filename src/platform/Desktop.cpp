#include "Desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

namespace platform {

namespace {

QString& directoryOverride()
{
    static QString directory;
    return directory;
}

// A folder of the installation prefix, found from the program's own place so that a program
// installed anywhere (or unpacked from its package into a temporary folder) finds its files.
QString prefixFolder(const QString& relative)
{
    return QDir::cleanPath(ProgramDirectory() + QStringLiteral("/../") + relative);
}

// Makes each missing folder on the way 0700: the base-directory rules ask that of the data home,
// and the last folder holds the person's secrets.
bool makeOwnerOnlyFolder(const QString& path)
{
    const QFileInfo folder(path);
    if (folder.isDir()) {
        return true;
    }
    const QString parent = folder.path();
    if (parent != path && !makeOwnerOnlyFolder(parent)) {
        return false;
    }
    return ::mkdir(QFile::encodeName(path).constData(), S_IRWXU) == 0 || QFileInfo(path).isDir();
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

QString UserDataDirectory()
{
    // The generic location is $XDG_DATA_HOME itself; the application location would add the
    // organisation's name as well.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Corvanta");
}

bool MakeUserDataDirectory()
{
    return makeOwnerOnlyFolder(UserDataDirectory());
}

QString SharedDataDirectory()
{
    return prefixFolder(QStringLiteral("share/corvanta"));
}

QStringList DocumentDirectories()
{
    return {ProgramDirectory(), prefixFolder(QStringLiteral("share/doc/corvanta"))};
}

} // namespace platform
