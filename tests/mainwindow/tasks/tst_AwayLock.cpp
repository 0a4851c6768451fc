#include "AwayLock.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDialog>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <memory>

using testsupport::row;

// The locks of a person walking away, heard on buses of the test's own: a private bus stands in
// for the session's and another for the system's.
class tst_AwayLock : public QObject
{
    Q_OBJECT

private:
    struct Bus
    {
        std::unique_ptr<QProcess> daemon;
        QString address;
    };
    Bus m_session;
    Bus m_system;
    int m_locks = 0;

    static Bus startBus()
    {
        Bus bus;
        bus.daemon = std::make_unique<QProcess>();
        bus.daemon->start(QStringLiteral("dbus-daemon"),
                          {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        if (bus.daemon->waitForStarted(5000) && bus.daemon->waitForReadyRead(5000)) {
            bus.address = QString::fromUtf8(bus.daemon->readLine()).trimmed();
        }
        return bus;
    }
    std::unique_ptr<AwayLock> make()
    {
        return std::make_unique<AwayLock>([this] { ++m_locks; },
                                          QDBusConnection::connectToBus(m_session.address, "listenSession"),
                                          QDBusConnection::connectToBus(m_system.address, "listenSystem"));
    }

private slots:
    void initTestCase()
    {
        m_session = startBus();
        m_system = startBus();
        if (m_session.address.isEmpty() || m_system.address.isEmpty()) {
            QSKIP("dbus-daemon could not start a private bus here");
        }
    }
    void cleanupTestCase()
    {
        for (Bus* bus : {&m_session, &m_system}) {
            if (bus->daemon) {
                bus->daemon->kill();
                bus->daemon->waitForFinished(5000);
            }
        }
    }
    void init() { m_locks = 0; }

    void signalsFromTheDesktop_data()
    {
        QTest::addColumn<bool>("systemBus");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("interface");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<int>("locks");
        const QString saver = QStringLiteral("org.freedesktop.ScreenSaver");
        const QString session = QStringLiteral("org.freedesktop.login1.Session");
        row("screen saver starts", false, "/org/freedesktop/ScreenSaver", saver, "ActiveChanged", QVariantList{true},
            1);
        row("screen saver on the short path", false, "/ScreenSaver", saver, "ActiveChanged", QVariantList{true}, 1);
        row("screen saver ends", false, "/org/freedesktop/ScreenSaver", saver, "ActiveChanged", QVariantList{false}, 0);
        row("session locks", true, "/org/freedesktop/login1/session/_31", session, "Lock", QVariantList{}, 1);
        row("session unlocks", true, "/org/freedesktop/login1/session/_31", session, "Unlock", QVariantList{}, 0);
    }
    void signalsFromTheDesktop()
    {
        QFETCH(bool, systemBus);
        QFETCH(QString, path);
        QFETCH(QString, interface);
        QFETCH(QString, name);
        QFETCH(QVariantList, arguments);
        QFETCH(int, locks);
        auto away = make();
        QDBusConnection sender = QDBusConnection::connectToBus((systemBus ? m_system : m_session).address, "sender");
        QDBusMessage signal = QDBusMessage::createSignal(path, interface, name);
        signal.setArguments(arguments);
        QVERIFY(sender.send(signal));
        if (locks == 0) {
            QTest::qWait(300);
        }
        QTRY_COMPARE(m_locks, locks);
        QDBusConnection::disconnectFromBus(QStringLiteral("sender"));
    }

    void lockWaitsForAnOpenDialog()
    {
        auto away = make();
        QDialog dialog;
        QTimer::singleShot(0, &dialog, [&] {
            away->requestLock();
            QVERIFY(away->lockWaiting());
            QTest::qWait(400);
            QCOMPARE(m_locks, 0);
            dialog.accept();
        });
        dialog.exec();
        QTRY_COMPARE(m_locks, 1);
        QVERIFY(!away->lockWaiting());
    }

    void idleMinutesLockOnlyWithoutInput()
    {
        auto away = make();
        away->setMinuteMs(200);
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        away->setIdleMinutes(1);
        // Keys keep it from locking; the quiet after them does.
        for (int i = 0; i < 6; ++i) {
            QTest::qWait(80);
            QTest::keyClick(&window, Qt::Key_A);
        }
        QCOMPARE(m_locks, 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_locks, 1, 2000);
        away->setIdleMinutes(0);
        QTest::qWait(400);
        QCOMPARE(m_locks, 1);
    }
};

QTEST_MAIN(tst_AwayLock)
#include "tst_AwayLock.moc"
