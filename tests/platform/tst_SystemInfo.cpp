#include "SystemInfo.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A program that leaves a mark when it runs.
QString makeProgram(const QString& path, const QString& marker)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {};
    }
    file.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(marker).toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

} // namespace

class tst_SystemInfo : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_config = m_dir->filePath(QStringLiteral("SystemInfo.conf"));
        platform::setSystemInfoConfigFile(m_config);
        platform::setSystemInfoProgramNames({});
    }
    void cleanup()
    {
        platform::setSystemInfoConfigFile(QString());
        platform::resetSystemInfoProgramNames();
    }

    void configuredPathIsTakenWithoutLookingAndFailsWhenItWillNotStart()
    {
        const QString missing = m_dir->filePath(QStringLiteral("nowhere/sysinfo"));
        writeConfig(missing, QString());
        QCOMPARE(platform::SystemInfoCandidates(), QStringList{missing});
        QVERIFY(!platform::StartSystemInfo());
    }

    void aPlaceThatWillNotStartGivesWayToTheDirectorysProgram()
    {
        const QString notAProgram = m_dir->filePath(QStringLiteral("SystemInfo.conf"));
        writeConfig(notAProgram, m_dir->path());
        // The directory counts only once the program is in it.
        QCOMPARE(platform::SystemInfoCandidates(), QStringList{notAProgram});
        const QString marker = m_dir->filePath(QStringLiteral("ran"));
        const QString program = makeProgram(m_dir->filePath(QStringLiteral("sysinfo")), marker);
        QCOMPARE(platform::SystemInfoCandidates(), (QStringList{notAProgram, program}));
        QVERIFY(platform::StartSystemInfo());
        QTRY_VERIFY(QFile::exists(marker));
    }

private:
    void writeConfig(const QString& path, const QString& directory)
    {
        QSettings config(m_config, QSettings::IniFormat);
        if (!path.isEmpty()) {
            config.setValue(QStringLiteral("SystemInfo/Path"), path);
        }
        if (!directory.isEmpty()) {
            config.setValue(QStringLiteral("SystemInfo/Directory"), directory);
        }
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_config;
};

QTEST_GUILESS_MAIN(tst_SystemInfo)
#include "tst_SystemInfo.moc"
