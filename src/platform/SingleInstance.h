#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace platform {

// Holds the lock that tells a second copy of the program that this one runs. The lock lives as
// long as the object; a copy that was killed leaves a lock file behind that the next start
// recognises as stale and takes over.
class SingleInstance
{
public:
    // lockFilePath empty: the default place (see defaultLockFilePath).
    explicit SingleInstance(const QString& lockFilePath = QString());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock. False only when another living process holds it. When the lock file cannot
    // be written at all (no runtime folder, no permission) the answer is true: refusing to start
    // would lock the user out of the data for a reason that has nothing to do with a second copy.
    bool tryAcquire();
    void release();
    QString lockFilePath() const { return m_path; }

    // The lock file in the user's runtime folder (the temporary folder where there is none).
    static QString defaultLockFilePath();
    // Tests move the default elsewhere; empty restores it.
    static void setDefaultLockFilePath(const QString& path);

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    bool m_held = false;
};

// The platform's "is another copy running?" test, as start-up asks it. The first call that
// answers false keeps the lock until the program ends.
bool PrevInstance();

} // namespace platform
