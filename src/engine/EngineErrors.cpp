#include "EngineErrors.h"

namespace dao {

QString describe(int number, const QString& path)
{
    const QString file =
        path.isEmpty() ? QStringLiteral("the data file") : QLatin1Char('\'') + path + QLatin1Char('\'');
    switch (number) {
    case err::None:
        return QString();
    case err::OutOfMemory:
        return QStringLiteral("Out of memory.");
    case err::InvalidArgument:
        return QStringLiteral("Invalid argument.");
    case err::TooManyTransactions:
        return QStringLiteral("Cannot start a transaction; one is already running.");
    case err::UpdateWithoutEdit:
        return QStringLiteral("Update or CancelUpdate without AddNew or Edit.");
    case err::NoCurrentRecord:
        return QStringLiteral("No current record.");
    case err::FileNotFound:
        return QStringLiteral("Could not find file %1.").arg(file);
    case err::DiskFull:
        return QStringLiteral("Not enough space on disk.");
    case err::ReadOnly:
        return QStringLiteral("Cannot update. Database or object is read-only.");
    case err::InvalidPassword:
        return QStringLiteral("Not a valid password.");
    case err::CommitWithoutBegin:
        return QStringLiteral("You tried to commit or roll back a transaction without first beginning a transaction.");
    case err::ReadError:
        return QStringLiteral("Disk I/O error while reading %1.").arg(file);
    case err::WriteError:
        return QStringLiteral("Disk or network error while writing %1.").arg(file);
    case err::FileInUse:
        return QStringLiteral("Could not use %1; file already in use.").arg(file);
    case err::DamagedFile:
        return QStringLiteral("Cannot open %1. The file is damaged.").arg(file);
    case err::NoPermission:
        return QStringLiteral("Cannot open %1. You need permission to use it.").arg(file);
    case err::QuerySyntax:
        return QStringLiteral("Syntax error in query expression.");
    case err::CriteriaSyntax:
        return QStringLiteral("Syntax error in expression.");
    case err::RecordDeleted:
        return QStringLiteral("Record is deleted.");
    case err::DatabaseExists:
        return QStringLiteral("Database %1 already exists.").arg(file);
    case err::ItemNotFound:
        return QStringLiteral("Item not found in this collection.");
    case err::NotADataFile:
        return QStringLiteral("Unrecognized database format %1.").arg(file);
    case err::OpenedExclusively:
        return QStringLiteral("Cannot open %1. It is already opened exclusively by another program.").arg(file);
    case err::NotExclusive:
        return QStringLiteral("Cannot change the password of a database that is not opened exclusively.");
    case err::ObjectClosed:
        return QStringLiteral("Object invalid or no longer set.");
    default:
        return QStringLiteral("Unexpected database engine error.");
    }
}

Error makeError(int number, const QString& path)
{
    return Error(number, describe(number, path));
}

} // namespace dao
