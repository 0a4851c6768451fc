#include "EngineFixture.h"

#include "FileFormat.h"
#include "Schema.h"
#include "Statements.h"

#include <QDir>
#include <QTest>

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sodium.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fixture {

void useCheapKdf()
{
    dao::format::KdfParams cheap = dao::format::cheapKdf();
    dao::format::setPasswordKdfForTesting(cheap);
}

QString createDataFile(const QString& dir, const QString& password, const QString& name)
{
    const QString path = QDir(dir).filePath(name);
    dao::Error e = schema::createDataFile(path);
    if (e) {
        qWarning("createDataFile: %s", qPrintable(e.description()));
        return QString();
    }
    if (!password.isEmpty()) {
        dao::DatabasePtr db;
        e = dao::DBEngine::OpenDatabase(path, true, false, statements::connectFirst(), db);
        if (!e) {
            e = db->NewPassword(QString(), password);
        }
        if (e) {
            qWarning("createDataFile: %s", qPrintable(e.description()));
        }
    }
    return path;
}

dao::DatabasePtr open(const QString& path, const QString& password)
{
    dao::DatabasePtr db;
    const dao::Error e =
        dao::DBEngine::OpenDatabase(path, false, false, statements::connectWith(password), db, password);
    if (e) {
        qWarning("open: %s [%d]", qPrintable(e.description()), e.number());
    }
    return db;
}

qint64 addRecord(dao::Database& db, const QString& table, const QVariantMap& values)
{
    dao::RecordsetPtr rs;
    if (db.OpenRecordset(QStringLiteral("Select * From ") + table, rs, dao::dbOpenDynaset)) {
        return -1;
    }
    if (rs->AddNew()) {
        return -1;
    }
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (rs->SetField(it.key(), it.value())) {
            return -1;
        }
    }
    if (rs->Update()) {
        return -1;
    }
    return rs->LastInsertedKey();
}

QStringList column(dao::Database& db, const QString& statement, const QString& field)
{
    QStringList values;
    dao::RecordsetPtr rs;
    if (dao::Error e = db.OpenRecordset(statement, rs)) {
        qWarning("column: %s", qPrintable(e.description()));
        return values;
    }
    while (!rs->Eof()) {
        values << rs->Value(field).toString();
        if (rs->MoveNext()) {
            break;
        }
    }
    return values;
}

OtherProgram::OtherProgram(const QString& path, bool exclusive, const QString& password)
{
    int ready[2];
    if (::pipe(ready) != 0) {
        return;
    }
    m_pid = ::fork();
    if (m_pid == 0) {
        dao::DatabasePtr db;
        const dao::Error e =
            dao::DBEngine::OpenDatabase(path, exclusive, false, statements::connectWith(password), db, password);
        const char c = e ? 'e' : 'k';
        (void)!::write(ready[1], &c, 1);
        ::pause();
        ::_exit(0);
    }
    char c = 0;
    m_opened = m_pid > 0 && ::read(ready[0], &c, 1) == 1 && c == 'k';
    ::close(ready[0]);
    ::close(ready[1]);
}

OtherProgram::~OtherProgram()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
}

FailAt::FailAt(const QString& step, int at, int error) : step(step), at(at), error(error)
{
    if (this->error == 0) {
        this->error = step.contains(QLatin1String("write")) ? ENOSPC : EIO;
    }
    dao::setFileOps(this);
}

bool FailAt::hit(const char* kind)
{
    if (m_done || step.isEmpty() || step != QLatin1String(kind) || ++seen < at) {
        return false;
    }
    m_done = true; // one failure per device; a later save must work
    if (step == QLatin1String("short write")) {
        return true; // counted when the rest is refused
    }
    ++failures;
    errno = error;
    return true;
}

int FailAt::open(const char* path, int flags, mode_t mode)
{
    const bool dir = (flags & O_DIRECTORY) != 0;
    if (hit(dir ? "open folder" : ((flags & O_CREAT) ? "create" : ""))) {
        return -1;
    }
    const int fd = FileOps::open(path, flags, mode);
    if (fd >= 0 && dir) {
        m_dirs.insert(fd);
    } else if (fd >= 0 && (flags & O_CREAT)) {
        m_created.insert(fd);
    }
    return fd;
}

ssize_t FailAt::write(int fd, const void* buffer, size_t count)
{
    if (m_shortDone) {
        m_shortDone = false;
        ++failures;
        errno = error;
        return -1;
    }
    if (count > 1 && hit("short write")) {
        m_shortDone = true; // the disk takes half, then refuses the rest
        count /= 2;
    } else if (hit("write")) {
        return -1;
    }
    const ssize_t n = FileOps::write(fd, buffer, count);
    if (n > 0) {
        written.append(static_cast<const char*>(buffer), n);
    }
    return n;
}

int FailAt::fsync(int fd)
{
    return hit(m_dirs.count(fd) ? "flush folder" : "flush") ? -1 : FileOps::fsync(fd);
}

int FailAt::close(int fd)
{
    const bool created = m_created.erase(fd) > 0;
    m_dirs.erase(fd);
    if (created && hit("close")) {
        FileOps::close(fd); // the descriptor is gone either way, as close(2) promises
        return -1;
    }
    return FileOps::close(fd);
}

int FailAt::rename(const char* from, const char* to)
{
    return hit("rename") ? -1 : FileOps::rename(from, to);
}

} // namespace fixture
