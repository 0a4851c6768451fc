#pragma once

#include "Dao.h"
#include "FileOps.h"

#include <QString>
#include <QVariantMap>

#include <sys/types.h>

#include <set>

namespace fixture {

// Key derivation at its cheapest, so tests that set passwords run fast. The real parameters
// have a test of their own.
void useCheapKdf();

// Creates a data file holding the empty tables; with a password when one is given.
QString createDataFile(const QString& dir, const QString& password = QString(),
                       const QString& name = QStringLiteral("Corvanta.cvd"));

// Opens a data file shared with the given password (fails the test on error).
dao::DatabasePtr open(const QString& path, const QString& password = QString());

// Adds a record to a table; values by plain field name (a null QVariant stores Null).
qint64 addRecord(dao::Database& db, const QString& table, const QVariantMap& values);

// The text that guarded bytes hold (a password kept by a global or a dialog).
inline QString text(const dao::SecureBytes& bytes)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// The values of one field over a statement's rows.
QStringList column(dao::Database& db, const QString& statement, const QString& field);

// The one file-operations double: fails the at-th call (from 1) of one step of writing a file,
// once: "create", "write", "short write" (half is taken, the rest refused), "flush", "close",
// "rename", "open folder" or "flush folder", with error (by default ENOSPC for a write, EIO
// otherwise). It keeps a copy of every byte written. Installs itself for its lifetime.
class FailAt : public dao::FileOps
{
public:
    explicit FailAt(const QString& step = QString(), int at = 1, int error = 0);
    ~FailAt() override { dao::setFileOps(nullptr); }
    QString step;
    int at = 1;
    int error = 0;
    int seen = 0;     // calls of the step so far
    int failures = 0; // failures handed out
    QByteArray written;
    int open(const char* path, int flags, mode_t mode) override;
    ssize_t write(int fd, const void* buffer, size_t count) override;
    int fsync(int fd) override;
    int close(int fd) override;
    int rename(const char* from, const char* to) override;

private:
    bool hit(const char* kind);
    std::set<int> m_dirs;
    std::set<int> m_created;
    bool m_shortDone = false;
    bool m_done = false;
};

// Another program that has a data file open, shared or exclusively, until this object goes (it
// is killed then, so a failing test never leaves it behind).
class OtherProgram
{
public:
    OtherProgram(const QString& path, bool exclusive, const QString& password);
    ~OtherProgram();
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;
    // Whether it managed to open the file.
    bool opened() const { return m_opened; }

private:
    pid_t m_pid = -1;
    bool m_opened = false;
};

} // namespace fixture
