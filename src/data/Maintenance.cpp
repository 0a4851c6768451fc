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

dao::Error compactDataFile(const QString& dataFile, const QString& password)
{
    const QString companion = compactPath(dataFile);
    if (QFileInfo::exists(companion) || QFileInfo(companion).isSymLink()) {
        // Only ever a leftover: the data file itself is present, or we would not be here.
        QFile::remove(companion);
    }
    if (dao::Error e = dao::DBEngine::CopyFile(dataFile, backupPath(dataFile))) {
        return e;
    }
    if (dao::Error e = dao::DBEngine::CompactDatabase(dataFile, companion, statements::compactConnect(password))) {
        QFile::remove(companion);
        return e;
    }
    if (dao::Error e = dao::DBEngine::ReplaceFile(companion, dataFile)) {
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

dao::Error changePassword(const QString& dataFile, const QString& oldPassword, const QString& newPassword)
{
    dao::DatabasePtr db;
    if (dao::Error e = dao::DBEngine::OpenDatabase(dataFile, true, false, statements::connectWith(oldPassword), db)) {
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
