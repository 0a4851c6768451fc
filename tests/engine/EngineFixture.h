#pragma once

#include "Dao.h"
#include "FileOps.h"

#include <QString>
#include <QVariantMap>

#include <sys/types.h>

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

// The values of one field over a statement's rows.
QStringList column(dao::Database& db, const QString& statement, const QString& field);

// The one fault device: fails the at-th call (from 1) of one kind of file operation ("write",
// "fsync", "rename"), a write with ENOSPC and the others with EIO. Installs itself for its
// lifetime.
class FailAt : public dao::FileOps
{
public:
    FailAt(const QString& kind = QString(), int at = 1) : kind(kind), at(at) { dao::setFileOps(this); }
    ~FailAt() override { dao::setFileOps(nullptr); }
    QString kind;
    int at = 1;
    int seen = 0;
    bool fail(const char* k);
    ssize_t write(int fd, const void* b, size_t n) override;
    int fsync(int fd) override;
    int rename(const char* a, const char* b) override;
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
