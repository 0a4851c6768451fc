#include "DatabaseCore.h"

#include "FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <errno.h>
#include <fcntl.h>
#include <sodium.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <new>
#include <set>
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

Error readFully(int fd, unsigned char* into, size_t count, const QString& path)
{
    size_t done = 0;
    while (done < count) {
        const ssize_t n = fileOps().read(fd, into + done, count - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return readErrno(n < 0 ? errno : EIO, path);
        }
        done += static_cast<size_t>(n);
    }
    return {};
}

Error changedOnDisk(const QString& path)
{
    return Error(err::FileInUse, QStringLiteral("Could not save '%1'; another copy of the program has changed the "
                                                "file since it was read here. Its changes are kept.")
                                     .arg(path));
}

Error mayNotChange(const QString& path)
{
    return Error(err::NoPermission,
                 QStringLiteral("Cannot save '%1'. You need permission to change the file.").arg(path));
}

// The real path of a data file, links followed; for a file still to be created, that of its
// folder with its name.
QString realPathOf(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty()) {
        return canonical;
    }
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + QLatin1Char('/') + info.fileName();
}

// ---- locks -------------------------------------------------------------------------------------
//
// The locks live on a file of their own beside the data file: the data file is replaced by
// rename on every save, and a lock on the replaced file would keep nobody out. Two of its
// bytes are locked with locks that belong to one opening of the lock file (not to the whole
// process, and never to a child that inherits the descriptor by accident of a close): byte 0
// by every opening of the data file (an exclusive opening takes it alone), byte 1 by a save,
// a compaction or a password change while it writes.

constexpr off_t kOpenByte = 0;
constexpr off_t kSaveByte = 1;
// Another copy's save of a large file takes a second or two; longer, it is stuck.
constexpr int kSaveWaitMs = 10000;

int openLockFile(const QString& realPath)
{
    const QByteArray lockPath = QFile::encodeName(realPath) + ".lock";
    return ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
}

// Takes one byte without waiting; false when somebody else holds it.
bool lockByte(int fd, off_t byte, short type)
{
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) {
        return true;
    }
    // A file system without these locks cannot keep two copies apart; it must still be usable.
    return errno == EINVAL || errno == ENOLCK;
}

struct HeldSaveLock
{
    int fd = -1;
    int count = 0;
};

// The save locks this process holds, by real path: a compaction holds one across the save it
// makes itself.
std::map<QString, HeldSaveLock>& saveLocks()
{
    static std::map<QString, HeldSaveLock> held;
    return held;
}

Error acquireSaveLock(const QString& realPath)
{
    auto& held = saveLocks();
    auto it = held.find(realPath);
    if (it != held.end()) {
        ++it->second.count;
        return {};
    }
    const int fd = openLockFile(realPath);
    if (fd < 0) {
        return writeErrno(errno, realPath);
    }
    for (int waited = 0; !lockByte(fd, kSaveByte, F_WRLCK); waited += 10) {
        if (waited >= kSaveWaitMs) {
            ::close(fd);
            return makeError(err::FileInUse, realPath);
        }
        ::usleep(10000);
    }
    held[realPath] = HeldSaveLock{fd, 1};
    return {};
}

void releaseSaveLock(const QString& realPath)
{
    auto& held = saveLocks();
    auto it = held.find(realPath);
    if (it != held.end() && --it->second.count == 0) {
        ::close(it->second.fd); // releases the lock
        held.erase(it);
    }
}

// 3051 unless this process may replace the file at path. A file whose mode allows nobody to
// write it stays as it is even for a user the system would let change it.
Error checkWritable(const QString& path, mode_t& mode)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    if (::stat(native.constData(), &st) != 0) {
        return readErrno(errno, path);
    }
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(native.constData(), W_OK) != 0) {
        return mayNotChange(path);
    }
    mode = st.st_mode & 07777;
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

// A name for a temporary file beside target that no other process will pick: each copy of the
// program knows its own and never touches another's.
QByteArray temporaryNameFor(const QByteArray& target)
{
    unsigned char random[6];
    randombytes_buf(random, sizeof random);
    return target + '.' + QByteArray::number(static_cast<qint64>(::getpid())) + '-' +
           QByteArray(reinterpret_cast<const char*>(random), sizeof random).toHex() + ".tmp";
}

// A writer that dies between creating its temporary file and renaming it (a crash, a power
// cut) leaves the file behind, as large as the data file. The next save of the same file takes
// them away, once per process: under the save lock no other writer of the file is at work, and
// the age keeps a writer's file safe where the file system holds nobody back with the lock.
void removeDeadWritersFiles(const QString& realPath)
{
    static std::set<QString> swept;
    if (!swept.insert(realPath).second) {
        return;
    }
    constexpr time_t kOldEnough = 10 * 60;
    // What temporaryNameFor puts after the data file's name.
    static const QRegularExpression kTemporaryName(QStringLiteral("^[0-9]+-[0-9a-f]{12}\\.tmp$"));
    const QFileInfo data(realPath);
    const QString prefix = data.fileName() + QLatin1Char('.');
    const QDir folder = data.absoluteDir();
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort)) {
        if (!name.startsWith(prefix) || !kTemporaryName.match(name.mid(prefix.size())).hasMatch()) {
            continue;
        }
        struct stat st;
        const QByteArray path = QFile::encodeName(folder.filePath(name));
        if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            st.st_mtime < ::time(nullptr) - kOldEnough) {
            ::unlink(path.constData());
        }
    }
}

// Writes a file whole: a temporary file beside path (with the given mode) takes the bytes,
// is flushed, then renamed over path, then the directory is flushed. Whatever fails, path keeps
// its previous content and the temporary file is removed.
class WholeFileWriter
{
public:
    WholeFileWriter(const QString& path, mode_t mode) : m_path(path), m_target(QFile::encodeName(path))
    {
        m_temp = temporaryNameFor(m_target);
        m_fd = fileOps().open(m_temp.constData(), O_WRONLY | O_CREAT | O_EXCL, S_IRUSR | S_IWUSR);
        m_error = m_fd < 0 ? errno : 0;
        // The file keeps the mode it had; the creation mode above was masked by the umask.
        if (m_fd >= 0 && mode != (S_IRUSR | S_IWUSR) && ::fchmod(m_fd, mode) != 0) {
            fail(errno);
        }
    }
    ~WholeFileWriter()
    {
        if (m_fd >= 0) {
            fail(0);
        }
    }
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;

    Error write(const unsigned char* bytes, size_t size)
    {
        for (size_t done = 0; m_fd >= 0 && done < size;) {
            const ssize_t n = fileOps().write(m_fd, bytes + done, size - done);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                fail(n < 0 ? errno : ENOSPC);
            } else {
                done += static_cast<size_t>(n);
                m_written += static_cast<size_t>(n);
            }
        }
        // The disk starts on what is written while the rest is still being sealed, so that the
        // flush at the end has less left to wait for.
        if (m_fd >= 0 && m_written - m_started >= kStartWritingEvery) {
            ::sync_file_range(m_fd, static_cast<off_t>(m_started), static_cast<off_t>(m_written - m_started),
                              SYNC_FILE_RANGE_WRITE);
            m_started = m_written;
        }
        return failure();
    }

    // written receives what the new file is on disk; renamed tells whether path is the new file,
    // even when flushing the folder failed afterwards.
    Error commit(struct stat& written, bool& renamed)
    {
        renamed = false;
        FileOps& ops = fileOps();
        if (m_fd >= 0 && ops.fsync(m_fd) != 0) {
            fail(errno);
        }
        if (m_fd >= 0 && ::fstat(m_fd, &written) != 0) {
            fail(errno);
        }
        if (m_fd >= 0) {
            const int fd = std::exchange(m_fd, -1);
            if (ops.close(fd) != 0 || ops.rename(m_temp.constData(), m_target.constData()) != 0) {
                m_error = errno;
                ops.unlink(m_temp.constData());
            } else {
                renamed = true;
            }
        }
        return renamed ? syncDirectoryOf(m_path) : failure();
    }

private:
    void fail(int error)
    {
        fileOps().close(std::exchange(m_fd, -1));
        fileOps().unlink(m_temp.constData());
        m_error = error;
    }
    Error failure() const { return m_fd >= 0 ? Error() : writeErrno(m_error, m_path); }

    QString m_path;
    QByteArray m_target;
    QByteArray m_temp;
    static constexpr size_t kStartWritingEvery = 4 * 1024 * 1024;
    int m_fd = -1;
    int m_error = 0;
    size_t m_written = 0;
    size_t m_started = 0;
};

Error writeWholeFile(const QString& path, const unsigned char* bytes, size_t size)
{
    WholeFileWriter out(path, S_IRUSR | S_IWUSR);
    if (Error e = out.write(bytes, size)) {
        return e;
    }
    struct stat written;
    bool renamed = false;
    return out.commit(written, renamed);
}

FileIdentity identityOf(const struct stat& st, const format::Header& header)
{
    FileIdentity id;
    id.known = true;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.size = st.st_size;
    id.modified = st.st_mtim;
    id.nonce = header.nonce;
    return id;
}

// One data file being read: its header first, checked against the file's size, and its
// payload only when the header holds, so that a forged or foreign file costs a few bytes.
class DataFileReader
{
public:
    ~DataFileReader()
    {
        if (m_fd >= 0) {
            fileOps().close(m_fd);
        }
    }

    Error readHeader(const QString& path)
    {
        m_path = path;
        const QByteArray native = QFile::encodeName(path);
        m_fd = fileOps().open(native.constData(), O_RDONLY, 0);
        if (m_fd < 0) {
            return readErrno(errno, path);
        }
        if (::fstat(m_fd, &m_stat) != 0) {
            return readErrno(errno, path);
        }
        if (S_ISDIR(m_stat.st_mode)) {
            return makeError(err::NotADataFile, path);
        }
        if (!S_ISREG(m_stat.st_mode)) {
            return makeError(err::ReadError, path);
        }
        const size_t available = std::min<size_t>(format::kHeaderSize, static_cast<size_t>(m_stat.st_size));
        m_bytes.resize(available);
        if (Error e = readFully(m_fd, m_bytes.data(), available, path)) {
            return e;
        }
        if (Error e = format::parseHeader(m_bytes.data(), available, static_cast<uint64_t>(m_stat.st_size), m_header)) {
            return Error(e.number(), describe(e.number(), path));
        }
        return {};
    }

    // The payload after the header, whose length was checked against the file, read and
    // decrypted into memory from sqlite3_malloc64.
    Error readImage(const format::Keys& keys, unsigned char*& plain)
    {
        return format::open(
            m_header, keys, m_bytes.data(),
            [this](unsigned char* into, size_t size) { return readFully(m_fd, into, size, m_path); }, plain);
    }

    const format::Header& header() const { return m_header; }
    FileIdentity identity() const { return identityOf(m_stat, m_header); }

private:
    QString m_path;
    int m_fd = -1;
    struct stat m_stat = {};
    std::vector<unsigned char> m_bytes; // the header
    format::Header m_header;
};

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

Error sqliteError(int rc, const QString& message)
{
    switch (rc & 0xff) {
    case SQLITE_NOMEM:
        return makeError(err::OutOfMemory);
    case SQLITE_FULL:
        return makeError(err::DiskFull);
    case SQLITE_IOERR:
        return makeError(err::WriteError);
    default:
        return Error(err::QuerySyntax, describe(err::QuerySyntax) + QLatin1Char(' ') + message);
    }
}

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
    return writeWholeFile(path, reinterpret_cast<const unsigned char*>(bytes.constData()),
                          static_cast<size_t>(bytes.size()));
}

Error copyFile(const QString& source, const QString& destination)
{
    FileOps& ops = fileOps();
    const int fd = ops.open(QFile::encodeName(source).constData(), O_RDONLY, 0);
    if (fd < 0) {
        return readErrno(errno, source);
    }
    struct stat st;
    Error e;
    if (::fstat(fd, &st) != 0) {
        e = readErrno(errno, source);
    } else if (!S_ISREG(st.st_mode)) {
        e = makeError(S_ISDIR(st.st_mode) ? err::NotADataFile : err::ReadError, source);
    } else {
        // A piece at a time, as a save writes: a copy of a large file needs no buffer its size.
        constexpr size_t kPiece = 256 * 1024;
        const auto size = static_cast<size_t>(st.st_size);
        std::unique_ptr<unsigned char[]> piece(new (std::nothrow) unsigned char[kPiece]);
        WholeFileWriter out(destination, S_IRUSR | S_IWUSR);
        e = piece ? Error() : makeError(err::OutOfMemory);
        for (size_t done = 0; !e && done < size; done += kPiece) {
            const size_t n = std::min(kPiece, size - done);
            e = readFully(fd, piece.get(), n, source);
            if (!e) {
                e = out.write(piece.get(), n);
            }
        }
        struct stat written;
        bool renamed = false;
        if (!e) {
            e = out.commit(written, renamed);
        }
    }
    ops.close(fd);
    return e;
}

Error lockForSaving(const QString& path, QString& realPath, int& openLockFd)
{
    realPath = realPathOf(path);
    openLockFd = -1;
    mode_t mode = 0;
    if (Error e = checkWritable(realPath, mode)) {
        return e;
    }
    if (Error e = acquireSaveLock(realPath)) {
        return e;
    }
    // Replacing the file under a program that holds it exclusively (changing its password)
    // would pull it from under that program.
    openLockFd = openLockFile(realPath);
    if (openLockFd >= 0 && !lockByte(openLockFd, kOpenByte, F_RDLCK)) {
        ::close(openLockFd);
        openLockFd = -1;
        releaseSaveLock(realPath);
        return makeError(err::OpenedExclusively, path);
    }
    return {};
}

void unlockForSaving(const QString& realPath, int openLockFd)
{
    if (openLockFd >= 0) {
        ::close(openLockFd);
    }
    releaseSaveLock(realPath);
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

namespace {

// A change to a file, or a copy no longer wanted, waits this long at most for a reading of the
// copy to stop, so that its memory is given back before the change or the next copy needs its own
// (a save needs as much again for the sealed file). The reading stops within one step of its
// statement, almost always at once.
constexpr std::chrono::milliseconds kCopyGiveUpWait{50};

int stopWhenGivenUp(void* core)
{
    return static_cast<const DatabaseCore*>(core)->givenUp() ? 1 : 0;
}

} // namespace

Error DatabaseCore::snapshot(const std::shared_ptr<DatabaseCore>& source, std::shared_ptr<DatabaseCore>& out)
{
    std::shared_ptr<DatabaseCore> copy(new DatabaseCore);
    copy->m_readOnly = true;
    copy->m_isCopy = true;
    copy->m_header = source->m_header;
    copy->m_source = source;
    if (Error e = refresh(copy)) {
        return e;
    }
    out = std::move(copy);
    return {};
}

Error DatabaseCore::refresh(const std::shared_ptr<DatabaseCore>& copy)
{
    const std::shared_ptr<DatabaseCore> source = copy->m_source.lock();
    if (!source || !source->m_db) {
        return makeError(err::ObjectClosed);
    }
    const std::lock_guard<std::recursive_timed_mutex> reading(copy->m_readers);
    sqlite3_int64 size = 0;
    const unsigned char* current = sqlite3_serialize(source->m_db, "main", &size, SQLITE_SERIALIZE_NOCOPY);
    unsigned char* image =
        current ? format::newImage(static_cast<size_t>(size)) : sqlite3_serialize(source->m_db, "main", &size, 0);
    if (!image) {
        return makeError(err::OutOfMemory);
    }
    if (current) {
        std::memcpy(image, current, static_cast<size_t>(size));
    }
    if (Error e = copy->attachImage(image, static_cast<size_t>(size))) {
        return e;
    }
    // A statement over a copy that is given up stops at its next steps, not at its end.
    sqlite3_progress_handler(copy->m_db, 1000, stopWhenGivenUp, copy.get());
    copy->m_givenUp = false;
    auto& copies = source->m_copies;
    copies.erase(std::remove_if(copies.begin(), copies.end(), [](const auto& c) { return c.expired(); }), copies.end());
    copies.push_back(copy);
    return {};
}

void DatabaseCore::giveUp()
{
    m_givenUp = true;
    std::unique_lock<std::recursive_timed_mutex> reading(m_readers, std::defer_lock);
    if (reading.try_lock_for(kCopyGiveUpWait)) {
        releaseGivenUp();
    }
}

void DatabaseCore::releaseGivenUp()
{
    if (m_givenUp && m_db) {
        // The engine's heap wipes the image as it frees it.
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void DatabaseCore::giveUpCopies() const
{
    for (const auto& weak : m_copies) {
        if (const std::shared_ptr<DatabaseCore> copy = weak.lock()) {
            copy->giveUp();
        }
    }
    m_copies.clear();
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
    const int fd = openLockFile(m_path);
    if (fd < 0) {
        // A folder we may not write to cannot hold a lock; only an exclusive opening needs one.
        return exclusive ? makeError(err::NoPermission, m_name) : Error();
    }
    if (!lockByte(fd, kOpenByte, exclusive ? F_WRLCK : F_RDLCK)) {
        ::close(fd);
        return makeError(exclusive ? err::FileInUse : err::OpenedExclusively, m_name);
    }
    m_lockFd = fd;
    m_exclusive = exclusive;
    return {};
}

Error DatabaseCore::open(const QString& path, bool exclusive, bool readOnly, const SecureBytes& password,
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
            if (existing->hasPassword() && !password.equals(existing->m_password)) {
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
    // The real path, once: saves and locks go there even when path is a link.
    std::unique_ptr<DatabaseCore> core(new DatabaseCore);
    core->m_name = path;
    core->m_path = realPathOf(path);
    if (Error e = core->lock(exclusive)) {
        return e;
    }
    std::unique_ptr<DatabaseCore> loaded;
    if (Error e = load(path, password, nullptr, loaded)) {
        return e;
    }
    // The lock taken above moves to the loaded core.
    loaded->m_name = path;
    loaded->m_path = core->m_path;
    loaded->m_lockFd = std::exchange(core->m_lockFd, -1);
    loaded->m_exclusive = exclusive;
    loaded->m_readOnly = readOnly;
    out = std::shared_ptr<DatabaseCore>(loaded.release());
    registry()[key] = out;
    return {};
}

Error DatabaseCore::create(const QString& path, const SecureBytes& password, std::shared_ptr<DatabaseCore>& out)
{
    if (!initializeCrypto()) {
        return makeError(err::OutOfMemory);
    }
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0) {
        return makeError(err::DatabaseExists, path);
    }
    std::unique_ptr<DatabaseCore> core(new DatabaseCore);
    core->m_name = path;
    core->m_path = realPathOf(path);
    core->m_password = password.copy();
    core->m_header.flags = password.size() == 0 ? 0 : format::kFlagPassword;
    core->m_header.kdf = password.size() == 0 ? format::cheapKdf() : format::passwordKdf();
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

Error DatabaseCore::loadPrivate(const QString& path, const SecureBytes& password, std::unique_ptr<DatabaseCore>& out)
{
    if (!initializeCrypto()) {
        return makeError(err::OutOfMemory);
    }
    std::shared_ptr<DatabaseCore> shared;
    auto found = registry().find(registryKey(path));
    if (found != registry().end()) {
        shared = found->second.lock();
    }
    return load(path, password, shared.get(), out);
}

Error DatabaseCore::load(const QString& path, const SecureBytes& password, const DatabaseCore* keysFrom,
                         std::unique_ptr<DatabaseCore>& out)
{
    DataFileReader file;
    if (Error e = file.readHeader(path)) {
        return e;
    }
    const format::Header& header = file.header();
    // Setting the empty password removes the password, so a protected file never has it: the
    // first opening at start, which tries the empty password, is answered by the header alone.
    if (header.hasPassword() && password.size() == 0) {
        return makeError(err::InvalidPassword);
    }
    std::unique_ptr<DatabaseCore> core(new DatabaseCore);
    core->m_name = path;
    core->m_path = realPathOf(path);
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
    // A wrong password is told before the payload is read. Without a password the keys are
    // fixed by the header, so a failing check is damage.
    if (sodium_memcmp(header.keyCheck.data(), core->m_keys.check.data(), format::kKeySize) != 0) {
        return makeError(header.hasPassword() ? err::InvalidPassword : err::DamagedFile, path);
    }
    unsigned char* plain = nullptr;
    if (Error e = file.readImage(core->m_keys, plain)) {
        return makeError(e.number(), path);
    }
    if (Error e = core->attachImage(plain, header.payloadLength)) {
        return Error(e.number(), describe(e.number(), path));
    }
    core->m_identity = file.identity();
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
        // Sorts, DISTINCT lists and a compaction's copy would otherwise go to unlinked files
        // in the temporary folder, in plain text, beside the sealed data file.
        if (sqlite3_exec(m_db, "PRAGMA temp_store = MEMORY", nullptr, nullptr, nullptr) != SQLITE_OK) {
            sqlite3_free(plain);
            return makeError(err::OutOfMemory);
        }
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
    if (!m_db) {
        return makeError(err::ObjectClosed);
    }
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
    if (!sqlite3_stmt_readonly(out.get())) {
        giveUpCopies();
    }
    return {};
}

Error DatabaseCore::exec(const char* sql)
{
    giveUpCopies();
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        QString text = QString::fromUtf8(message ? message : sqlite3_errstr(rc));
        sqlite3_free(message);
        return sqliteError(rc, text);
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

Error DatabaseCore::checkUnchanged() const
{
    const QByteArray native = QFile::encodeName(m_path);
    struct stat st;
    if (::stat(native.constData(), &st) != 0) {
        // A new file is expected to be absent; a file read here and gone now was moved away.
        return errno == ENOENT && !m_identity.known ? Error() : changedOnDisk(m_name);
    }
    if (!m_identity.known || st.st_dev != m_identity.device || st.st_ino != m_identity.inode ||
        st.st_size != m_identity.size || st.st_mtim.tv_sec != m_identity.modified.tv_sec ||
        st.st_mtim.tv_nsec != m_identity.modified.tv_nsec) {
        return changedOnDisk(m_name);
    }
    // Same file, size and time: the nonce, fresh on every save, tells a rewrite in place within
    // the clock's resolution.
    std::array<unsigned char, format::kNonceSize> nonce{};
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    const bool read = fd >= 0 && ::pread(fd, nonce.data(), nonce.size(), 48) == static_cast<ssize_t>(nonce.size());
    if (fd >= 0) {
        ::close(fd);
    }
    return read && nonce == m_identity.nonce ? Error() : changedOnDisk(m_name);
}

Error DatabaseCore::writeTo(const QString& path)
{
    // Another file (a compaction's copy) is new and private; the core's own file is replaced only
    // by whoever holds the save lock, only if it may be written, and only if it is still what
    // this process last read or wrote.
    const bool own = path == m_path;
    mode_t mode = S_IRUSR | S_IWUSR;
    struct stat current;
    if (!own && ::stat(QFile::encodeName(m_path).constData(), &current) == 0) {
        mode = current.st_mode & 07777; // a compaction's copy takes the place of the file, mode and all
    }
    if (own && m_identity.known) {
        if (Error e = checkWritable(m_path, mode)) {
            return e.number() == err::NoPermission ? mayNotChange(m_name) : e;
        }
    }
    if (own) {
        if (Error e = acquireSaveLock(m_path)) {
            return e;
        }
    }
    struct Unlock
    {
        const QString* path;
        ~Unlock()
        {
            if (path) {
                releaseSaveLock(*path);
            }
        }
    } unlock{own ? &m_path : nullptr};
    if (own) {
        if (Error e = checkUnchanged()) {
            return e;
        }
        removeDeadWritersFiles(m_path);
    }
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
    WholeFileWriter out(path, mode);
    Error e = format::seal(header, m_keys, image ? image : &nothing, static_cast<size_t>(size),
                           [&out](const unsigned char* bytes, size_t n) { return out.write(bytes, n); });
    if (owned) {
        sqlite3_free(image);
    }
    if (e) {
        return e;
    }
    struct stat written = {};
    bool renamed = false;
    e = out.commit(written, renamed);
    if (own && renamed) {
        // Ours on disk now, even if flushing the folder failed afterwards.
        m_header = header;
        m_identity = identityOf(written, header);
    }
    return e;
}

Error DatabaseCore::reloadFromDisk()
{
    DataFileReader file;
    if (Error e = file.readHeader(m_path)) {
        return e;
    }
    const format::Header& header = file.header();
    if (header.salt != m_header.salt) {
        return makeError(err::DamagedFile, m_name);
    }
    unsigned char* plain = nullptr;
    if (Error e = file.readImage(m_keys, plain)) {
        return e;
    }
    m_header = header;
    m_identity = file.identity();
    return attachImage(plain, header.payloadLength);
}

Error DatabaseCore::vacuum()
{
    return exec("VACUUM");
}

Error DatabaseCore::changePassword(const SecureBytes& oldPassword, SecureBytes newPassword)
{
    if (!m_exclusive) {
        return makeError(err::NotExclusive);
    }
    if (m_readOnly) {
        return makeError(err::ReadOnly);
    }
    if (hasPassword() && !oldPassword.equals(m_password)) {
        return makeError(err::InvalidPassword);
    }
    format::Header oldHeader = m_header;
    format::Keys oldKeys{m_keys.payload.copy(), m_keys.check.copy()};
    SecureBytes oldPasswordBytes = m_password.copy();

    format::Header header = m_header;
    header.flags = newPassword.isEmpty() ? 0 : format::kFlagPassword;
    header.kdf = newPassword.isEmpty() ? format::cheapKdf() : format::passwordKdf();
    format::newSalt(header);
    SecureBytes password = std::move(newPassword);
    format::Keys keys;
    if (Error e = format::deriveKeys(password, header, keys)) {
        return e;
    }
    const FileIdentity oldIdentity = m_identity;
    m_header = header;
    m_keys = std::move(keys);
    m_password = std::move(password);
    if (Error e = persist()) {
        // A failure after the rename (flushing the folder) has already put the new password on
        // disk. The caller is told the change failed and goes on with the old password, so the
        // file must go back to it, or the next opening would be refused.
        const bool onDisk = m_identity.known && m_identity.nonce != oldIdentity.nonce;
        m_header = oldHeader;
        m_keys = std::move(oldKeys);
        m_password = std::move(oldPasswordBytes);
        if (onDisk) {
            (void)persist();
        }
        return e;
    }
    return {};
}

} // namespace dao
