#pragma once

#include "EngineErrors.h"
#include "FileFormat.h"
#include "SecureMemory.h"

#include <QString>

#include <sys/stat.h>

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace dao {

// Moves from over to in one atomic rename and flushes the directory.
Error replaceFile(const QString& from, const QString& to);
// Writes bytes to path as a save writes a data file (temporary file of mode 0600, flush,
// rename, directory flush); on failure path is untouched and no temporary file is left.
Error writeFile(const QString& path, const QByteArray& bytes);
// An exact copy of the file source at destination, written as writeFile writes.
Error copyFile(const QString& source, const QString& destination);

// The engine's error for an SQLite result code: 7 out of memory, 3026 full (memory or disk),
// 3043 input/output, 3075 with SQLite's message for anything else.
Error sqliteError(int rc, const QString& message);

// The save lock of a data file (by real path), reentrant within this process; see Dao.h.
Error lockForSaving(const QString& path, QString& realPath, int& openLockFd);
void unlockForSaving(const QString& realPath, int openLockFd);

// What a data file is on disk when this process last read or wrote it, to tell whether
// another copy has replaced it since.
struct FileIdentity
{
    bool known = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    struct timespec modified = {};
    std::array<unsigned char, format::kNonceSize> nonce{};
};

// Owns a prepared statement; finalizes it when it goes.
class Statement
{
public:
    Statement() = default;
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return m_stmt; }
    sqlite3_stmt** out() { return &m_stmt; }
    explicit operator bool() const { return m_stmt != nullptr; }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

// One open data file: its database in memory, its keys, and its lock. Every Database and
// Recordset of the same file in this process shares one core.
class DatabaseCore
{
public:
    ~DatabaseCore();
    DatabaseCore(const DatabaseCore&) = delete;
    DatabaseCore& operator=(const DatabaseCore&) = delete;

    // Opens (or shares) the core of an existing file.
    static Error open(const QString& path, bool exclusive, bool readOnly, const SecureBytes& password,
                      std::shared_ptr<DatabaseCore>& out);
    // Creates a new empty file; nothing may exist at path.
    static Error create(const QString& path, const SecureBytes& password, std::shared_ptr<DatabaseCore>& out);
    // Loads a private (unshared) core of a file for compaction, reusing the keys of an open
    // core of the same file when there is one.
    static Error loadPrivate(const QString& path, const SecureBytes& password, std::unique_ptr<DatabaseCore>& out);
    // A read-only copy of source as it is now, in memory only: no file, no lock, never written
    // and not shared, so that another thread may read it while source goes on. Two copies of a
    // large file would double what the program holds, so the copy is given up (see giveUp) as
    // soon as source is about to change; refresh takes it anew.
    static Error snapshot(const std::shared_ptr<DatabaseCore>& source, std::shared_ptr<DatabaseCore>& out);
    // A copy: takes its source's state anew (3420 when the source is closed).
    static Error refresh(const std::shared_ptr<DatabaseCore>& copy);
    // A copy: stops a reading under way at its next step and lets the copy's memory go (wiped)
    // once no record set holds it, waiting a little (50 ms at most) for one to close, so that
    // the memory is back before whatever comes next needs its own. Any thread.
    void giveUp();
    bool isCopy() const { return m_isCopy; }
    bool givenUp() const { return m_givenUp.load(); }
    // A copy: held by every record set open over it, so that its memory stays while it is read.
    std::recursive_timed_mutex& readers() { return m_readers; }
    // A copy given up: lets its memory go; the caller holds readers().
    void releaseGivenUp();
    // Every core open now, for transactions.
    static std::vector<std::shared_ptr<DatabaseCore>> openCores();

    sqlite3* db() const { return m_db; }
    // The path the file was opened by, and the real one (links followed) it is saved to.
    const QString& name() const { return m_name; }
    const QString& path() const { return m_path; }
    bool readOnly() const { return m_readOnly; }
    bool exclusive() const { return m_exclusive; }
    bool hasPassword() const { return m_header.hasPassword(); }

    // Prepares one statement; 3075 for anything it cannot run or for more than one statement.
    Error prepare(const QString& sql, Statement& out) const;
    Error exec(const char* sql);

    // Called after every change. Outside a transaction it writes the file at once; inside,
    // it marks the core to be written at commit. A failed write drops the change from memory.
    Error changed();

    Error beginTransaction();
    Error commitTransaction();
    Error rollbackTransaction();
    bool inTransaction() const { return m_inTransaction; }

    // Writes the image to path (temporary file, flush, rename, directory flush). On failure the
    // file at path is untouched and no temporary file is left. Writing to the core's own file
    // takes the save lock and refuses a file that another copy changed since it was read here.
    Error writeTo(const QString& path);
    // Compacts the database in memory.
    Error vacuum();
    Error changePassword(const SecureBytes& oldPassword, SecureBytes newPassword);
    qint64 lastInsertedKey() const { return m_lastInserted; }
    void setLastInsertedKey(qint64 key) { m_lastInserted = key; }

private:
    DatabaseCore() = default;
    static Error load(const QString& path, const SecureBytes& password, const DatabaseCore* keysFrom,
                      std::unique_ptr<DatabaseCore>& out);
    Error attachImage(unsigned char* plain, size_t size);
    Error persist();
    Error reloadFromDisk();
    Error lock(bool exclusive);
    Error checkUnchanged() const;
    // Before a change: every copy of this core that is still read is given up.
    void giveUpCopies() const;

    QString m_name;
    QString m_path;
    FileIdentity m_identity;
    sqlite3* m_db = nullptr;
    format::Header m_header;
    format::Keys m_keys;
    SecureBytes m_password;
    int m_lockFd = -1;
    bool m_exclusive = false;
    bool m_readOnly = false;
    bool m_inTransaction = false;
    bool m_dirty = false;
    qint64 m_lastInserted = 0;
    // A copy's source, and a source's copies (both on the source's thread only).
    bool m_isCopy = false;
    std::weak_ptr<DatabaseCore> m_source;
    mutable std::vector<std::weak_ptr<DatabaseCore>> m_copies;
    std::atomic_bool m_givenUp{false};
    std::recursive_timed_mutex m_readers;
};

} // namespace dao
