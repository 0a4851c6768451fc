#include "Dao.h"

#include "DatabaseCore.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>
#include <sys/stat.h>

namespace dao {

// ---- DBEngine -----------------------------------------------------------------------------------

QString DBEngine::PasswordFromConnect(const QString& connect)
{
    const int at = connect.indexOf(QLatin1String("PWD="), 0, Qt::CaseInsensitive);
    if (at < 0) {
        return QString();
    }
    const QString password = connect.mid(at + 4);
    return password == QLatin1String("''") ? QString() : password;
}

SecureBytes Password::resolve(const QString& connect) const
{
    return m_given ? m_bytes.copy() : SecureBytes::fromText(DBEngine::PasswordFromConnect(connect));
}

SaveLock::~SaveLock()
{
    unlockForSaving(m_path, m_openLockFd);
}

Error DBEngine::OpenDatabase(const QString& path, bool exclusive, bool readOnly, const QString& connect,
                             DatabasePtr& out, const Password& password)
{
    std::shared_ptr<DatabaseCore> core;
    if (Error e = DatabaseCore::open(path, exclusive, readOnly, password.resolve(connect), core)) {
        return e;
    }
    out = DatabasePtr(new Database(std::move(core)));
    return {};
}

Error DBEngine::CreateDatabase(const QString& path, const QString& connect, DatabasePtr& out, const Password& password)
{
    std::shared_ptr<DatabaseCore> core;
    if (Error e = DatabaseCore::create(path, password.resolve(connect), core)) {
        return e;
    }
    out = DatabasePtr(new Database(std::move(core)));
    return {};
}

Error DBEngine::LockForSaving(const QString& path, std::unique_ptr<SaveLock>& out)
{
    std::unique_ptr<SaveLock> lock(new SaveLock);
    if (Error e = lockForSaving(path, lock->m_path, lock->m_openLockFd)) {
        lock->m_path.clear(); // nothing to release
        lock->m_openLockFd = -1;
        return e;
    }
    out = std::move(lock);
    return {};
}

Error DBEngine::CompactDatabase(const QString& source, const QString& destination, const QString& connect,
                                const Password& password)
{
    struct stat st;
    if (::lstat(QFile::encodeName(destination).constData(), &st) == 0) {
        return makeError(err::DatabaseExists, destination);
    }
    std::unique_ptr<DatabaseCore> core;
    if (Error e = DatabaseCore::loadPrivate(source, password.resolve(connect), core)) {
        return e;
    }
    if (Error e = core->vacuum()) {
        return e;
    }
    return core->writeTo(destination);
}

Error DBEngine::ReplaceFile(const QString& from, const QString& to)
{
    return replaceFile(from, to);
}

Error DBEngine::WriteFile(const QString& path, const QByteArray& bytes)
{
    return writeFile(path, bytes);
}

Error DBEngine::CopyFile(const QString& source, const QString& destination)
{
    return copyFile(source, destination);
}

bool DBEngine::IsCompleteDataFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray head = file.read(format::kHeaderSize);
    format::Header header;
    return !format::parseHeader(reinterpret_cast<const unsigned char*>(head.constData()),
                                static_cast<size_t>(head.size()), static_cast<uint64_t>(file.size()), header);
}

Error DBEngine::BeginTrans()
{
    const auto cores = DatabaseCore::openCores();
    for (const auto& core : cores) {
        if (core->inTransaction()) {
            return makeError(err::TooManyTransactions);
        }
    }
    for (const auto& core : cores) {
        if (Error e = core->beginTransaction()) {
            for (const auto& begun : cores) {
                if (begun->inTransaction()) {
                    (void)begun->rollbackTransaction();
                }
            }
            return e;
        }
    }
    return {};
}

Error DBEngine::CommitTrans(int)
{
    bool any = false;
    Error first;
    for (const auto& core : DatabaseCore::openCores()) {
        if (core->inTransaction()) {
            any = true;
            Error e = core->commitTransaction();
            if (e && first.ok()) {
                first = e;
            }
        }
    }
    if (!any) {
        return makeError(err::CommitWithoutBegin);
    }
    return first;
}

Error DBEngine::Rollback()
{
    bool any = false;
    for (const auto& core : DatabaseCore::openCores()) {
        if (core->inTransaction()) {
            any = true;
            (void)core->rollbackTransaction();
        }
    }
    return any ? Error() : makeError(err::CommitWithoutBegin);
}

bool DBEngine::InTransaction()
{
    for (const auto& core : DatabaseCore::openCores()) {
        if (core->inTransaction()) {
            return true;
        }
    }
    return false;
}

void DBEngine::Idle(int) {}

Transaction::~Transaction()
{
    if (m_open && DBEngine::InTransaction()) {
        (void)DBEngine::Rollback();
    }
}

Error Transaction::begin()
{
    Error e = DBEngine::BeginTrans();
    m_open = e.ok();
    return e;
}

Error Transaction::commit(int options)
{
    Error e = DBEngine::CommitTrans(options);
    m_open = m_open && !e.ok();
    return e;
}

// ---- Database -----------------------------------------------------------------------------------

Database::Database(std::shared_ptr<DatabaseCore> core) : m_core(std::move(core)) {}

Database::~Database() = default;

void Database::Close()
{
    m_core.reset();
}

Error Database::Snapshot(DatabasePtr& out) const
{
    if (!m_core) {
        return makeError(err::ObjectClosed);
    }
    std::shared_ptr<DatabaseCore> copy;
    if (Error e = DatabaseCore::snapshot(m_core, copy)) {
        return e;
    }
    out = DatabasePtr(new Database(std::move(copy)));
    return {};
}

bool Database::GivenUp() const
{
    return m_core && m_core->isCopy() && m_core->givenUp();
}

Error Database::Refresh()
{
    if (!m_core || !m_core->isCopy()) {
        return makeError(err::ObjectClosed);
    }
    return DatabaseCore::refresh(m_core);
}

void Database::Interrupt()
{
    if (m_core && m_core->isCopy()) {
        m_core->giveUp();
    }
}

QString Database::Name() const
{
    return m_core ? m_core->name() : QString();
}

bool Database::HasPassword() const
{
    return m_core && m_core->hasPassword();
}

qint64 Database::LastInsertedKey() const
{
    return m_core ? m_core->lastInsertedKey() : 0;
}

Error Database::Execute(const QString& statement)
{
    if (!m_core) {
        return makeError(err::ObjectClosed);
    }
    if (m_core->readOnly()) {
        return makeError(err::ReadOnly);
    }
    Statement stmt;
    if (Error e = m_core->prepare(statement, stmt)) {
        return e;
    }
    if (const int rc = sqlite3_step(stmt.get()); rc != SQLITE_DONE) {
        return sqliteError(rc, QString::fromUtf8(sqlite3_errmsg(m_core->db())));
    }
    return m_core->changed();
}

Error Database::NewPassword(const Password& oldPassword, const Password& newPassword)
{
    if (!m_core) {
        return makeError(err::ObjectClosed);
    }
    return m_core->changePassword(oldPassword.resolve(QString()), newPassword.resolve(QString()));
}

Error Database::OpenRecordset(const QString& statement, RecordsetPtr& out, int type, int, int)
{
    if (!m_core) {
        return makeError(err::ObjectClosed);
    }
    RecordsetPtr rs(new Recordset);
    rs->m_core = m_core;
    if (m_core->isCopy()) {
        rs->m_reading = std::unique_lock<std::recursive_timed_mutex>(m_core->readers());
        if (m_core->givenUp()) {
            return makeError(err::ObjectClosed);
        }
    }
    rs->m_statement = statement;
    rs->m_forwardOnly = type == dbOpenForwardOnly;
    if (Error e = rs->load()) {
        return e;
    }
    if (type == dbOpenDynaset && (!rs->m_updatable || m_core->readOnly())) {
        return makeError(err::ReadOnly);
    }
    out = std::move(rs);
    return {};
}

} // namespace dao
