#include "General.h"
#include "ScriptedSeam.h"
#include "frm_Splash.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

class tst_Splash : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { gstr_Version = QStringLiteral("Version 9.8"); }

    void earlyUnloadWaitsThreeSecondsWhileEventsRun()
    {
        testsupport::ScriptedSeam seam;
        QElapsedTimer clock;
        clock.start();
        frm_Splash splash;
        splash.showAndPaint();
        QVERIFY(splash.isVisible());

        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(100);

        splash.unload();
        QVERIFY(clock.elapsed() >= frm_Splash::kMinimumMilliseconds);
        QVERIFY(splash.elapsedSinceLoad() >= frm_Splash::kMinimumMilliseconds);
        QVERIFY(!splash.isVisible());
        // The program went on handling its events during the wait.
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
    }

    void unloadAfterThreeSecondsReturnsAtOnce()
    {
        testsupport::ScriptedSeam seam;
        frm_Splash splash;
        splash.showAndPaint();
        QTest::qWait(int(frm_Splash::kMinimumMilliseconds) + 50);

        // A pending event that any waiting loop would handle.
        bool handled = false;
        QTimer::singleShot(0, [&] { handled = true; });
        splash.unload();
        QVERIFY(!splash.isVisible());
        QVERIFY(!handled);
        QTRY_VERIFY(handled);
    }
};

QTEST_MAIN(tst_Splash)
#include "tst_Splash.moc"
