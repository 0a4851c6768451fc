#pragma once

#include "Dao.h"

#include <QString>

// Keeping the data file: compaction and a new password, done so that a complete data file is
// under its own name at every moment.
namespace maintenance {

// The companion the compaction writes first: the data file's path with "Compact" appended.
QString compactPath(const QString& dataFile);

// The previous generation kept beside the data file: its path with ".bak" appended. Before each
// compaction and each password change the file as it was is copied there (mode 0600), so that
// the step can be undone by putting the copy back.
QString backupPath(const QString& dataFile);

// Compacts the data file in place. A stale companion from an interrupted run is removed, the
// compacted copy is written and flushed beside the data file, then put in its place by one
// atomic rename. Nothing may hold the file open. On failure the data file is untouched and
// no companion is left.
dao::Error compactDataFile(const QString& dataFile, const dao::Password& password);

// Where the data file is missing but a complete companion exists (a run stopped between its
// steps by an older sequence), the companion becomes the data file again. True when it did.
bool recoverInterruptedCompaction(const QString& dataFile);

// Gives the data file a new password (empty removes it): opens it exclusively with the old
// password, replaces the password, closes it. Nothing else may hold the file open. On failure
// the file keeps its old password and its data.
dao::Error changePassword(const QString& dataFile, const dao::Password& oldPassword, const dao::Password& newPassword);

} // namespace maintenance
