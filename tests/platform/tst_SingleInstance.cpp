#include "SingleInstance.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>

class tst_SingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void lockOfALivingOtherProcessRefusesAndOfAKilledOneIsTakenOver()
    {
        const QString path = m_dir.filePath(QStringLiteral("child.lock"));
        QProcess holder;
        holder.start(QStringLiteral(LOCK_HOLDER), {path});
        QVERIFY(holder.waitForStarted());
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(holder.readAll().trimmed(), QByteArray("held"));

        platform::SingleInstance second(path);
        QVERIFY(!second.tryAcquire());

        // A killed copy runs no clean-up: its lock file stays behind.
        ::kill(static_cast<pid_t>(holder.processId()), SIGKILL);
        QVERIFY(holder.waitForFinished(10000));
        QVERIFY(QFile::exists(path));

        QVERIFY(second.tryAcquire());
    }

    void lockThatCannotBeWrittenDoesNotKeepTheProgramFromStarting()
    {
        // A lock file in a folder that does not exist can never be created.
        platform::SingleInstance instance(m_dir.filePath(QStringLiteral("missing/folder/x.lock")));
        QVERIFY(instance.tryAcquire());
        QVERIFY(!instance.isHeld());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_SingleInstance)
#include "tst_SingleInstance.moc"
