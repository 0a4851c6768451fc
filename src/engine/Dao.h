#pragma once

#include "EngineErrors.h"
#include "SecureMemory.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <mutex>
#include <vector>

// The data engine: a small database object model over an encrypted file.
//
// A data file holds one SQLite database, kept in memory while it is open and written back
// whole, encrypted and authenticated, whenever a change is committed. Every function that can
// fail returns an Error (number and description) and never throws; a default Error is success.

namespace dao {

class DatabaseCore;
class Statement;
class Database;
class Recordset;
using DatabasePtr = std::shared_ptr<Database>;
using RecordsetPtr = std::unique_ptr<Recordset>;

// Options of OpenRecordset, CommitTrans and Idle. Only dbOpenDynaset changes what a call does;
// the others name what this engine always does (consistent, flushed, no cache to refresh).
constexpr int dbOpenDynaset = 2;
constexpr int dbOpenSnapshot = 4;
// A read-only record set that reads each row as it moves on and keeps none behind: one pass
// over many rows in little memory. It moves only forward; RecordCount counts the rows reached.
constexpr int dbOpenForwardOnly = 8;
constexpr int dbConsistent = 32;
constexpr int dbOptimistic = 3;
constexpr int dbForceOSFlush = 1;
constexpr int dbRefreshCache = 8;

// A password handed to the engine beside the connect text. A connect text cannot carry every
// password a person may type ("''" there means no password at all), so whoever has the typed
// text passes it here and it is used as it is. Absent (default), the connect text's applies.
class Password
{
public:
    Password() = default;
    Password(const QString& text) : m_given(true), m_bytes(SecureBytes::fromText(text)) {}
    Password(const char* text) : Password(QString::fromUtf8(text)) {}
    Password(const SecureBytes& utf8) : m_given(true), m_bytes(utf8.copy()) {}
    // The bytes to use: these when given, else the password of the connect text.
    SecureBytes resolve(const QString& connect) const;

private:
    bool m_given = false;
    SecureBytes m_bytes;
};

// Held while a data file is saved, compacted or given a new password: no other copy of the
// program writes the file meanwhile. Released when it goes.
class SaveLock
{
public:
    ~SaveLock();
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;
    // The real path of the locked file (links followed).
    const QString& path() const { return m_path; }

private:
    friend class DBEngine;
    SaveLock() = default;
    QString m_path; // real path
    int m_openLockFd = -1;
};

class DBEngine
{
public:
    // Opens the data file at path. The password is given beside the connect text or, when it is
    // not, follows "PWD=" in the connect text ("''" is the empty password). A file without
    // password opens whatever password is given; a protected file only with its exact password.
    // Opening a path that is already open in this process with the same password shares the
    // open database (no second key derivation). A symbolic link is followed once here: saves
    // and locks go to the file it names. exclusive holds an advisory lock that keeps every
    // other opening out. Fails with 3024 (missing), 3031 (wrong password), 3343 (not a data
    // file), 3049 (damaged), 3045/3356 (in use), 3040 (unreadable).
    static Error OpenDatabase(const QString& path, bool exclusive, bool readOnly, const QString& connect,
                              DatabasePtr& out, const Password& password = {});

    // Creates a new, empty data file at path; fails with 3204 if anything exists there.
    static Error CreateDatabase(const QString& path, const QString& connect, DatabasePtr& out,
                                const Password& password = {});

    // Writes a compacted copy of source to destination with the same password. The password
    // is given beside the connect text or by it (";PWD=..."). destination must not exist
    // (3204). The copy is complete and flushed to disk when this returns success; on failure
    // nothing is left at destination. Every temporary structure stays in memory.
    static Error CompactDatabase(const QString& source, const QString& destination, const QString& connect = QString(),
                                 const Password& password = {});

    // Takes the lock every save of the data file at path takes, waiting a few seconds for
    // another copy's save to end: 3045 when it does not, 3356 while another program holds the
    // file exclusively, 3051 when the file may not be changed. A compaction holds it from
    // reading the file until its copy is renamed over it.
    static Error LockForSaving(const QString& path, std::unique_ptr<SaveLock>& out);

    // Puts the file from in the place of to in one atomic rename, flushed to disk: to is either
    // the old file or the new one, whatever happens. Nothing may hold either open.
    static Error ReplaceFile(const QString& from, const QString& to);

    // Writes bytes to path the way a save writes the data file: a temporary file beside it
    // (mode 0600), flushed, renamed over path, the folder flushed. On failure path is as it
    // was and no temporary file is left. CopyFile writes an exact copy of source that way.
    static Error WriteFile(const QString& path, const QByteArray& bytes);
    static Error CopyFile(const QString& source, const QString& destination);

    // True when path holds a complete data file of this program (its header and length check
    // out; the contents are proved only by opening it).
    static bool IsCompleteDataFile(const QString& path);

    // One transaction at a time over every open database. CommitTrans writes each changed
    // file whole and flushed before it returns; if that fails the file stays as it was, the
    // changes are dropped from memory as well, and the error is returned.
    static Error BeginTrans();
    static Error CommitTrans(int options = dbForceOSFlush);
    static Error Rollback();
    static bool InTransaction();

    // Every connection of this process shares one database, so there is no cache to refresh.
    static void Idle(int options = dbRefreshCache);

    // The password carried by a connect text: what follows "PWD=", unchanged; "''" is empty.
    static QString PasswordFromConnect(const QString& connect);
};

// The one way to run a transaction: begin() starts it, commit() ends it, and leaving the scope
// without a successful commit rolls back whatever is still open, on every way out. Its
// destructor never throws.
class Transaction
{
public:
    Transaction() = default;
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // As DBEngine::BeginTrans and DBEngine::CommitTrans. A failed commit has already dropped the
    // changes; what may be left open is rolled back when the guard goes.
    Error begin();
    Error commit(int options = dbForceOSFlush);

private:
    bool m_open = false;
};

class Database
{
public:
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens a record set over the rows of statement. A statement of the form
    // "Select * From [Table] ..." gives an updatable record set that sees later changes of its
    // rows; any other statement gives a read-only snapshot. type dbOpenDynaset asks for an
    // updatable one and fails with 3027 where the statement cannot give it.
    Error OpenRecordset(const QString& statement, RecordsetPtr& out, int type = 0, int options = 0, int lockEdit = 0);

    // Runs a statement that returns no rows (used to create the schema). Outside a transaction
    // the change is written to the file at once.
    Error Execute(const QString& statement);

    // Replaces the file's password; an empty new password removes it. Needs an exclusive
    // opening. oldPassword must be the file's password exactly (3031 otherwise). The new
    // password gets a fresh salt and fresh key-derivation parameters. On failure the file keeps
    // its old password.
    Error NewPassword(const Password& oldPassword, const Password& newPassword);

    // A read-only copy of the database as it is now, held in memory only and sharing nothing
    // with this one, so that it may be read on another thread (one at a time). Fails with 3420
    // when closed and 7 when memory runs out. The copy is given up when this database is about
    // to change: a statement over it stops, a record set then open keeps the copy until it
    // closes, and every later one fails with 3420. GivenUp tells; Refresh takes the copy anew.
    Error Snapshot(DatabasePtr& out) const;
    bool GivenUp() const;
    // A copy given up takes the state of the database it was made from anew; 3420 when that one
    // is closed. On that database's thread, with no record set open over the copy.
    Error Refresh();
    // Gives up a copy made by Snapshot that is no longer wanted, from any thread: a statement
    // another thread runs over it stops and fails, and its memory is given back (waiting for that
    // 50 ms at most).
    void Interrupt();
    void Close();
    bool IsOpen() const { return m_core != nullptr; }
    QString Name() const;
    bool HasPassword() const;

    // The counter key given to the last record added through this database.
    qint64 LastInsertedKey() const;

private:
    friend class DBEngine;
    explicit Database(std::shared_ptr<DatabaseCore> core);
    std::shared_ptr<DatabaseCore> m_core;
};

class Recordset
{
public:
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // EOF is a macro of the C library, hence the spelling of both.
    bool Bof() const;
    bool Eof() const;
    bool NoMatch() const { return m_noMatch; }
    bool Updatable() const { return m_updatable; }
    int RecordCount() const;
    // Position of the current record from 0, or -1 at BOF or EOF.
    int AbsolutePosition() const;

    Error MoveFirst();
    Error MoveLast();
    Error MoveNext();
    Error MovePrevious();
    // Moves to a position from 0; fails with 3021 outside the record set.
    Error Move(int position);

    // The names of the fields, in the statement's order.
    QStringList FieldNames() const;
    // The value of a field of the current record (or of the edit buffer during AddNew/Edit).
    // The name may be bracketed or plain and is compared without regard to case. Null is a
    // null QVariant, distinct from an empty text; counter keys are integers.
    Error Field(const QString& name, QVariant& value) const;
    // Convenience: the value, or a null QVariant when there is none.
    QVariant Value(const QString& name) const;
    Error SetField(const QString& name, const QVariant& value);

    Error AddNew();
    Error Edit();
    // Stores the record of AddNew or Edit. A new record gets its counter key here, which
    // LastInsertedKey then gives. Outside a transaction the change is on disk when this returns.
    Error Update();
    void CancelUpdate();
    // Deletes the current record; outside a transaction the change is on disk when this returns.
    Error Delete();
    // Runs the statement again and moves to its first row.
    Error Requery();

    // Criteria of the forms "[Field] = 12" and "[Field] = 'text'". The text runs from the first
    // quote to the last one, so a name holding an apostrophe is matched as it is. Text compares
    // without regard to case. Moves to the first match, or leaves the position and sets NoMatch.
    Error FindFirst(const QString& criteria);

    qint64 LastInsertedKey() const { return m_lastInserted; }
    void Close();
    bool IsOpen() const { return m_core != nullptr; }

private:
    friend class Database;
    Recordset() = default;
    Error load();
    Error stepForward();
    Error fetchCurrent() const;
    int columnIndex(const QString& name) const;
    Error checkOpen() const;
    int size() const;
    void invalidate() const { m_cacheValid = false; }

    std::shared_ptr<DatabaseCore> m_core;
    std::unique_lock<std::recursive_timed_mutex> m_reading; // over a copy: keeps it while open
    std::unique_ptr<Statement> m_fetch;                     // one row of the base table by rowid
    QString m_statement;
    QString m_table;            // base table of an updatable record set
    bool m_updatable = false;   // keyset over m_table; otherwise a snapshot in m_rows
    bool m_forwardOnly = false; // m_rows holds the current row only, read by m_fetch
    QStringList m_columns;
    std::vector<qint64> m_keys;                // rowids, in the statement's order
    std::vector<std::vector<QVariant>> m_rows; // snapshot rows
    int m_pos = -1;                            // -1: BOF; size: EOF
    bool m_currentDeleted = false;
    bool m_noMatch = false;
    mutable bool m_cacheValid = false;
    mutable std::vector<QVariant> m_current;
    enum class EditMode { None, AddNew, Edit } m_editMode = EditMode::None;
    std::vector<QVariant> m_buffer;
    std::vector<bool> m_touched;
    qint64 m_lastInserted = 0;
};

} // namespace dao
