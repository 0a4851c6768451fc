#include "Maintenance.h"

#include "Statements.h"

#include <QFile>
#include <QFileInfo>

namespace maintenance {

QString compactPath(const QString& dataFile)
{
    return dataFile + QStringLiteral("Compact");
}

QString backupPath(const QString& dataFile)
{
    return dataFile + QStringLiteral(".bak");
}

dao::Error compactDataFile(const QString& dataFile, const dao::Password& password)
{
    // Held from reading the file to the rename: a save of another copy in between would be lost.
    std::unique_ptr<dao::SaveLock> lock;
    if (dao::Error e = dao::DBEngine::LockForSaving(dataFile, lock)) {
        return e;
    }
    // The file a link names is compacted in its place; the link stays.
    const QString target = lock->path();
    const QString companion = compactPath(target);
    if (QFileInfo::exists(companion) || QFileInfo(companion).isSymLink()) {
        // Only ever a leftover: no other copy compacts while we hold the lock.
        QFile::remove(companion);
    }
    if (dao::Error e = dao::DBEngine::CopyFile(target, backupPath(target))) {
        return e;
    }
    if (dao::Error e =
            dao::DBEngine::CompactDatabase(target, companion, statements::compactConnect(QString()), password)) {
        QFile::remove(companion);
        return e;
    }
    if (dao::Error e = dao::DBEngine::ReplaceFile(companion, target)) {
        QFile::remove(companion);
        return e;
    }
    return {};
}

bool recoverInterruptedCompaction(const QString& dataFile)
{
    const QString companion = compactPath(dataFile);
    if (QFileInfo::exists(dataFile) || !dao::DBEngine::IsCompleteDataFile(companion)) {
        return false;
    }
    return !dao::DBEngine::ReplaceFile(companion, dataFile);
}

dao::Error changePassword(const QString& dataFile, const dao::Password& oldPassword, const dao::Password& newPassword)
{
    dao::DatabasePtr db;
    if (dao::Error e =
            dao::DBEngine::OpenDatabase(dataFile, true, false, statements::connectBeside(), db, oldPassword)) {
        return e;
    }
    // Copied while the exclusive opening keeps every other change out.
    dao::Error e = dao::DBEngine::CopyFile(dataFile, backupPath(dataFile));
    if (!e) {
        e = db->NewPassword(oldPassword, newPassword);
    }
    db->Close();
    return e;
}

} // namespace maintenance
