#include "SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include <unistd.h>

namespace platform {

namespace {

QString& lockPathOverride()
{
    static QString path;
    return path;
}

} // namespace

SingleInstance::SingleInstance(const QString& lockFilePath)
    : m_path(lockFilePath.isEmpty() ? defaultLockFilePath() : lockFilePath)
{}

SingleInstance::~SingleInstance()
{
    release();
}

bool SingleInstance::tryAcquire()
{
    if (m_held) {
        return true;
    }
    m_lock = std::make_unique<QLockFile>(m_path);
    // A running copy may run for weeks; only a dead holder makes the lock stale, never its age.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) {
        m_held = true;
        return true;
    }
    if (m_lock->error() == QLockFile::LockFailedError) {
        m_lock.reset();
        return false;
    }
    // PermissionError or UnknownError: no lock can be had here, but no copy was seen either.
    m_lock.reset();
    return true;
}

void SingleInstance::release()
{
    if (m_lock && m_held) {
        m_lock->unlock();
    }
    m_lock.reset();
    m_held = false;
}

QString SingleInstance::defaultLockFilePath()
{
    if (!lockPathOverride().isEmpty()) {
        return lockPathOverride();
    }
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        // The temporary folder is shared by every user, so the name carries the user's id.
        return QDir(QDir::tempPath()).filePath(QStringLiteral("Corvanta-%1.lock").arg(getuid()));
    }
    return QDir(folder).filePath(QStringLiteral("Corvanta.lock"));
}

void SingleInstance::setDefaultLockFilePath(const QString& path)
{
    lockPathOverride() = path;
}

bool PrevInstance()
{
    static SingleInstance instance;
    return !instance.tryAcquire();
}

} // namespace platform
