#include "DatabaseCore.h"

#include "FileOps.h"

#include <QFile>
#include <QFileInfo>

#include <errno.h>
#include <fcntl.h>
#include <sodium.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <utility>

namespace dao {

// ---- statements -------------------------------------------------------------------------------

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement&& other) noexcept : m_stmt(std::exchange(other.m_stmt, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_stmt = std::exchange(other.m_stmt, nullptr);
    }
    return *this;
}

namespace {

// ---- files -------------------------------------------------------------------------------------

std::map<QString, std::weak_ptr<DatabaseCore>>& registry()
{
    static std::map<QString, std::weak_ptr<DatabaseCore>> cores;
    return cores;
}

QString registryKey(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

Error readErrno(int error, const QString& path)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return makeError(err::FileNotFound, path);
    case EACCES:
    case EPERM:
        return makeError(err::NoPermission, path);
    case ENOMEM:
        return makeError(err::OutOfMemory);
    default:
        return makeError(err::ReadError, path);
    }
}

Error writeErrno(int error, const QString& path)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return makeError(err::DiskFull, path);
    case EACCES:
    case EPERM:
    case EROFS:
        return makeError(err::NoPermission, path);
    default:
        return makeError(err::WriteError, path);
    }
}

Error readWholeFile(const QString& path, std::vector<unsigned char>& out)
{
    FileOps& ops = fileOps();
    const QByteArray native = QFile::encodeName(path);
    const int fd = ops.open(native.constData(), O_RDONLY, 0);
    if (fd < 0) {
        return readErrno(errno, path);
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = errno;
        ops.close(fd);
        return S_ISDIR(st.st_mode) ? makeError(err::NotADataFile, path) : readErrno(error, path);
    }
    try {
        out.resize(static_cast<size_t>(st.st_size));
    } catch (const std::bad_alloc&) {
        ops.close(fd);
        return makeError(err::OutOfMemory);
    }
    size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ops.read(fd, out.data() + done, out.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            ops.close(fd);
            return readErrno(error, path);
        }
        done += static_cast<size_t>(n);
    }
    ops.close(fd);
    return {};
}

// The new name is in place; flushing the directory makes the rename itself durable.
Error syncDirectoryOf(const QString& path)
{
    FileOps& ops = fileOps();
    const QByteArray dir = QFile::encodeName(QFileInfo(path).absolutePath());
    const int dirFd = ops.open(dir.constData(), O_RDONLY | O_DIRECTORY, 0);
    if (dirFd >= 0) {
        const int rc = ops.fsync(dirFd);
        const int error = errno;
        ops.close(dirFd);
        if (rc != 0 && error != EINVAL && error != ENOTSUP) {
            return writeErrno(error, path);
        }
    }
    return {};
}

// Writes bytes to path whole: a temporary file beside it, flushed, then renamed over it, then
// the directory flushed. Whatever fails, path keeps its previous content and the temporary
// file is removed.
Error writeWholeFile(const QString& path, const std::vector<unsigned char>& bytes)
{
    FileOps& ops = fileOps();
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temp = target + ".tmp";
    ops.unlink(temp.constData()); // a stale one from an interrupted run
    const int fd = ops.open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        return writeErrno(errno, path);
    }
    auto fail = [&](int error) {
        ops.close(fd);
        ops.unlink(temp.constData());
        return writeErrno(error, path);
    };
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ops.write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return fail(n < 0 ? errno : ENOSPC);
        }
        done += static_cast<size_t>(n);
    }
    if (ops.fsync(fd) != 0) {
        return fail(errno);
    }
    if (ops.close(fd) != 0) {
        const int error = errno;
        ops.unlink(temp.constData());
        return writeErrno(error, path);
    }
    if (ops.rename(temp.constData(), target.constData()) != 0) {
        const int error = errno;
        ops.unlink(temp.constData());
        return writeErrno(error, path);
    }
    return syncDirectoryOf(path);
}

// Text compares without regard to case, letters beyond ASCII included. ASCII text, by far the
// most common, takes a fast path that orders exactly as the general one.
int compareNoCase(void*, int n1, const void* p1, int n2, const void* p2)
{
    const auto* a = static_cast<const unsigned char*>(p1);
    const auto* b = static_cast<const unsigned char*>(p2);
    const int n = std::min(n1, n2);
    bool ascii = true;
    for (int i = 0; i < n; ++i) {
        unsigned char c1 = a[i];
        unsigned char c2 = b[i];
        if ((c1 | c2) & 0x80) {
            ascii = false;
            break;
        }
        if (c1 >= 'A' && c1 <= 'Z') {
            c1 = static_cast<unsigned char>(c1 + 32);
        }
        if (c2 >= 'A' && c2 <= 'Z') {
            c2 = static_cast<unsigned char>(c2 + 32);
        }
        if (c1 != c2) {
            return c1 < c2 ? -1 : 1;
        }
    }
    if (ascii) {
        return n1 == n2 ? 0 : (n1 < n2 ? -1 : 1);
    }
    const QString s1 = QString::fromUtf8(reinterpret_cast<const char*>(a), n1);
    const QString s2 = QString::fromUtf8(reinterpret_cast<const char*>(b), n2);
    const int c = s1.compare(s2, Qt::CaseInsensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

} // namespace

Error replaceFile(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    if (fileOps().rename(source.constData(), QFile::encodeName(to).constData()) != 0) {
        const int error = errno;
        return error == ENOENT ? makeError(err::FileNotFound, from) : writeErrno(error, to);
    }
    return syncDirectoryOf(to);
}

Error writeFile(const QString& path, const QByteArray& bytes)
{
    std::vector<unsigned char> copy(bytes.begin(), bytes.end());
    const Error e = writeWholeFile(path, copy);
    sodium_memzero(copy.data(), copy.size()); // an export holds secrets in plain text
    return e;
}

Error copyFile(const QString& source, const QString& destination)
{
    std::vector<unsigned char> bytes;
    if (Error e = readWholeFile(source, bytes)) {
        return e;
    }
    return writeWholeFile(destination, bytes);
}

// ---- the core ---------------------------------------------------------------------------------

DatabaseCore::~DatabaseCore()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
    }
    if (m_lockFd >= 0) {
        ::close(m_lockFd); // releases the advisory lock
    }
}

std::vector<std::shared_ptr<DatabaseCore>> DatabaseCore::openCores()
{
    std::vector<std::shared_ptr<DatabaseCore>> cores;
    for (auto it = registry().begin(); it != registry().end();) {
        if (auto core = it->second.lock()) {
            cores.push_back(std::move(core));
            ++it;
        } else {
            it = registry().erase(it);
        }
    }
    return cores;
}

Error DatabaseCore::lock(bool exclusive)
{
    // The lock lives on a file of its own: the data file is replaced by rename on every save,
    // and a lock on the replaced file would no longer keep anybody out.
    const QByteArray lockPath = QFile::encodeName(m_path) + ".lock";
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        // A folder we may not write to cannot hold a lock; only an exclusive opening needs one.
        return exclusive ? makeError(err::NoPermission, m_path) : Error();
    }
    if (::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        ::close(fd);
        return makeError(exclusive ? err::FileInUse : err::OpenedExclusively, m_path);
    }
    m_lockFd = fd;
    m_exclusive = exclusive;
    return {};
}

Error DatabaseCore::open(const QString& path, bool exclusive, bool readOnly, const QString& password,
                         std::shared_ptr<DatabaseCore>& out)
{
    if (!initializeCrypto()) {
        return makeError(err::OutOfMemory);
    }
    if (path.isEmpty()) {
        return makeError(err::FileNotFound, path);
    }
    const QString key = registryKey(path);
    auto found = registry().find(key);
    if (found != registry().end()) {
        if (auto existing = found->second.lock()) {
            if (exclusive || existing->m_exclusive) {
                return makeError(err::FileInUse, path);
            }
            if (existing->hasPassword() && !SecureBytes::fromText(password).equals(existing->m_password)) {
                return makeError(err::InvalidPassword);
            }
            out = existing;
            return {};
        }
        registry().erase(found);
    }
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        return readErrno(errno, path);
    }
    std::unique_ptr<DatabaseCore> core(new DatabaseCore);
    core->m_path = path;
    if (Error e = core->lock(exclusive)) {
        return e;
    }
    std::unique_ptr<DatabaseCore> loaded;
    if (Error e = load(path, SecureBytes::fromText(password), nullptr, loaded)) {
        return e;
    }
    // The lock taken above moves to the loaded core.
    loaded->m_lockFd = std::exchange(core->m_lockFd, -1);
    loaded->m_exclusive = exclusive;
    loaded->m_readOnly = readOnly;
    out = std::shared_ptr<DatabaseCore>(loaded.release());
    registry()[key] = out;
    return {};
}

Error DatabaseCore::create(const QString& path, const QString& password, std::shared_ptr<DatabaseCore>& out)
{
    if (!initializeCrypto()) {
        return makeError(err::OutOfMemory);
    }
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0) {
        return makeError(err::DatabaseExists, path);
    }
    std::unique_ptr<DatabaseCore> core(new DatabaseCore);
    core->m_path = path;
    core->m_password = SecureBytes::fromText(password);
    core->m_header.flags = password.isEmpty() ? 0 : format::kFlagPassword;
    core->m_header.kdf = password.isEmpty() ? format::cheapKdf() : format::passwordKdf();
    format::newSalt(core->m_header);
    if (Error e = format::deriveKeys(core->m_password, core->m_header, core->m_keys)) {
        return e;
    }
    auto* empty = static_cast<unsigned char*>(sqlite3_malloc64(1));
    if (!empty) {
        return makeError(err::OutOfMemory);
    }
    if (Error e = core->attachImage(empty, 0)) {
        return e;
    }
    if (Error e = core->lock(false)) {
        return e;
    }
    if (Error e = core->persist()) {
        return e;
    }
    out = std::shared_ptr<DatabaseCore>(core.release());
    registry()[registryKey(path)] = out;
    return {};
}

Error DatabaseCore::loadPrivate(const QString& path, const QString& password, std::unique_ptr<DatabaseCore>& out)
{
    if (!initializeCrypto()) {
        return makeError(err::OutOfMemory);
    }
    std::shared_ptr<DatabaseCore> shared;
    auto found = registry().find(registryKey(path));
    if (found != registry().end()) {
        shared = found->second.lock();
    }
    return load(path, SecureBytes::fromText(password), shared.get(), out);
}

Error DatabaseCore::load(const QString& path, const SecureBytes& password, const DatabaseCore* keysFrom,
                         std::unique_ptr<DatabaseCore>& out)
{
    std::vector<unsigned char> bytes;
    if (Error e = readWholeFile(path, bytes)) {
        return e;
    }
    format::Header header;
    if (Error e = format::parseHeader(bytes.data(), bytes.size(), header)) {
        return Error(e.number(), describe(e.number(), path));
    }
    std::unique_ptr<DatabaseCore> core(new DatabaseCore);
    core->m_path = path;
    core->m_header = header;
    core->m_password = header.hasPassword() ? password.copy() : SecureBytes();
    const bool reuse =
        keysFrom && keysFrom->m_header.salt == header.salt && keysFrom->m_header.kdf.passes == header.kdf.passes &&
        keysFrom->m_header.kdf.memory == header.kdf.memory && keysFrom->m_password.equals(core->m_password);
    if (reuse) {
        core->m_keys.payload = keysFrom->m_keys.payload.copy();
        core->m_keys.check = keysFrom->m_keys.check.copy();
    } else if (Error e = format::deriveKeys(core->m_password, header, core->m_keys)) {
        return e;
    }
    unsigned char* plain = nullptr;
    if (Error e = format::open(header, core->m_keys, bytes.data(), bytes.size(), plain)) {
        // Without a password the keys are fixed by the header, so a failing check is damage.
        const int number =
            (e.number() == err::InvalidPassword && !header.hasPassword()) ? err::DamagedFile : e.number();
        return makeError(number, path);
    }
    if (Error e = core->attachImage(plain, header.payloadLength)) {
        return Error(e.number(), describe(e.number(), path));
    }
    out = std::move(core);
    return {};
}

Error DatabaseCore::attachImage(unsigned char* plain, size_t size)
{
    if (!m_db) {
        if (sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
            sqlite3_free(plain);
            return makeError(err::OutOfMemory);
        }
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
        sqlite3_create_collation(m_db, "NOCASE", SQLITE_UTF8, nullptr, compareNoCase);
    }
    const int rc =
        sqlite3_deserialize(m_db, "main", plain, static_cast<sqlite3_int64>(size), static_cast<sqlite3_int64>(size) + 1,
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE);
    if (rc != SQLITE_OK) {
        return makeError(rc == SQLITE_NOMEM ? err::OutOfMemory : err::DamagedFile);
    }
    // An image that is not a database of ours fails here rather than in the first query.
    if (size > 0 && (size < 100 || std::memcmp(plain, "SQLite format 3", 16) != 0)) {
        return makeError(err::DamagedFile);
    }
    Statement check;
    if (sqlite3_prepare_v2(m_db, "SELECT count(*) FROM sqlite_schema", -1, check.out(), nullptr) != SQLITE_OK ||
        sqlite3_step(check.get()) != SQLITE_ROW) {
        return makeError(err::DamagedFile);
    }
    return {};
}

Error DatabaseCore::prepare(const QString& sql, Statement& out) const
{
    const QByteArray utf8 = sql.toUtf8();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, utf8.constData(), static_cast<int>(utf8.size()), out.out(), &tail);
    if (rc != SQLITE_OK || !out) {
        return Error(err::QuerySyntax,
                     describe(err::QuerySyntax) + QLatin1Char(' ') + QString::fromUtf8(sqlite3_errmsg(m_db)));
    }
    // One statement only: whatever follows the first must be blanks.
    for (; tail && *tail; ++tail) {
        if (*tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n' && *tail != ';') {
            out = Statement();
            return makeError(err::QuerySyntax);
        }
    }
    return {};
}

Error DatabaseCore::exec(const char* sql)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        QString text = QString::fromUtf8(message ? message : sqlite3_errstr(rc));
        sqlite3_free(message);
        return Error(rc == SQLITE_NOMEM ? err::OutOfMemory : err::QuerySyntax,
                     describe(err::QuerySyntax) + QLatin1Char(' ') + text);
    }
    return {};
}

Error DatabaseCore::changed()
{
    if (m_inTransaction) {
        m_dirty = true;
        return {};
    }
    if (Error e = persist()) {
        (void)reloadFromDisk();
        return e;
    }
    return {};
}

Error DatabaseCore::beginTransaction()
{
    if (m_inTransaction) {
        return makeError(err::TooManyTransactions);
    }
    if (Error e = exec("BEGIN")) {
        return e;
    }
    m_inTransaction = true;
    m_dirty = false;
    return {};
}

Error DatabaseCore::commitTransaction()
{
    if (!m_inTransaction) {
        return makeError(err::CommitWithoutBegin);
    }
    if (Error e = exec("COMMIT")) {
        (void)exec("ROLLBACK");
        m_inTransaction = false;
        return e;
    }
    m_inTransaction = false;
    if (!m_dirty) {
        return {};
    }
    m_dirty = false;
    if (Error e = persist()) {
        (void)reloadFromDisk();
        return e;
    }
    return {};
}

Error DatabaseCore::rollbackTransaction()
{
    if (!m_inTransaction) {
        return makeError(err::CommitWithoutBegin);
    }
    m_inTransaction = false;
    m_dirty = false;
    return exec("ROLLBACK");
}

Error DatabaseCore::persist()
{
    if (m_readOnly) {
        return makeError(err::ReadOnly);
    }
    return writeTo(m_path);
}

Error DatabaseCore::writeTo(const QString& path)
{
    sqlite3_int64 size = 0;
    unsigned char* image = sqlite3_serialize(m_db, "main", &size, SQLITE_SERIALIZE_NOCOPY);
    bool owned = false;
    if (!image && size >= 0) {
        image = sqlite3_serialize(m_db, "main", &size, 0);
        owned = true;
    }
    if (!image && size > 0) {
        return makeError(err::OutOfMemory);
    }
    static const unsigned char nothing = 0;
    format::Header header = m_header;
    std::vector<unsigned char> bytes;
    Error e = format::seal(header, m_keys, image ? image : &nothing, static_cast<size_t>(size), bytes);
    if (owned) {
        sqlite3_free(image);
    }
    if (e) {
        return e;
    }
    if (Error w = writeWholeFile(path, bytes)) {
        return w;
    }
    if (path == m_path) {
        m_header = header;
    }
    return {};
}

Error DatabaseCore::reloadFromDisk()
{
    std::vector<unsigned char> bytes;
    if (Error e = readWholeFile(m_path, bytes)) {
        return e;
    }
    format::Header header;
    if (Error e = format::parseHeader(bytes.data(), bytes.size(), header)) {
        return e;
    }
    if (header.salt != m_header.salt) {
        return makeError(err::DamagedFile, m_path);
    }
    unsigned char* plain = nullptr;
    if (Error e = format::open(header, m_keys, bytes.data(), bytes.size(), plain)) {
        return e;
    }
    m_header = header;
    return attachImage(plain, header.payloadLength);
}

Error DatabaseCore::vacuum()
{
    return exec("VACUUM");
}

Error DatabaseCore::changePassword(const QString& oldPassword, const QString& newPassword)
{
    if (!m_exclusive) {
        return makeError(err::NotExclusive);
    }
    if (m_readOnly) {
        return makeError(err::ReadOnly);
    }
    if (hasPassword() && !SecureBytes::fromText(oldPassword).equals(m_password)) {
        return makeError(err::InvalidPassword);
    }
    format::Header oldHeader = m_header;
    format::Keys oldKeys{m_keys.payload.copy(), m_keys.check.copy()};
    SecureBytes oldPasswordBytes = m_password.copy();

    format::Header header = m_header;
    header.flags = newPassword.isEmpty() ? 0 : format::kFlagPassword;
    header.kdf = newPassword.isEmpty() ? format::cheapKdf() : format::passwordKdf();
    format::newSalt(header);
    SecureBytes password = SecureBytes::fromText(newPassword);
    format::Keys keys;
    if (Error e = format::deriveKeys(password, header, keys)) {
        return e;
    }
    m_header = header;
    m_keys = std::move(keys);
    m_password = std::move(password);
    if (Error e = persist()) {
        m_header = oldHeader;
        m_keys = std::move(oldKeys);
        m_password = std::move(oldPasswordBytes);
        // A failure after the rename (flushing the folder) has already put the new password on
        // disk. The caller is told the change failed and goes on with the old password, so the
        // file must go back to it, or the next opening would be refused.
        std::vector<unsigned char> bytes;
        format::Header onDisk;
        if (!readWholeFile(m_path, bytes) && !format::parseHeader(bytes.data(), bytes.size(), onDisk) &&
            onDisk.salt != oldHeader.salt) {
            (void)persist();
        }
        return e;
    }
    return {};
}

} // namespace dao
