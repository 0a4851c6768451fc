#include "EngineFixture.h"

#include "FileFormat.h"
#include "Schema.h"
#include "Statements.h"

#include <QDir>
#include <QTest>

#include <errno.h>
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

bool FailAt::fail(const char* k)
{
    if (kind == QLatin1String(k) && ++seen == at) {
        errno = kind == QLatin1String("write") ? ENOSPC : EIO;
        return true;
    }
    return false;
}

ssize_t FailAt::write(int fd, const void* b, size_t n)
{
    return fail("write") ? -1 : FileOps::write(fd, b, n);
}

int FailAt::fsync(int fd)
{
    return fail("fsync") ? -1 : FileOps::fsync(fd);
}

int FailAt::rename(const char* a, const char* b)
{
    return fail("rename") ? -1 : FileOps::rename(a, b);
}

} // namespace fixture
