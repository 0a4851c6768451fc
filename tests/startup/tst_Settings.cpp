#include "Settings.h"
#include "SettingsStore.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using testsupport::row;

using settings::Flags;

class tst_Settings : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        platform::setSettingsFolder(m_dir->path());
    }
    void cleanup() { platform::setSettingsFolder(QString()); }

    void emptyStoreGivesTheFirstRunDefaults()
    {
        QCOMPARE(settings::ReadSplashScreen(), QStringLiteral("1"));
        const Flags flags = settings::ReadFlags();
        QCOMPARE(flags[settings::Lock], QStringLiteral("0"));
        QCOMPARE(flags[settings::ViewPasswords], QStringLiteral("1"));
        QCOMPARE(flags[settings::SplashScreen], QStringLiteral("1"));
        QCOMPARE(flags[settings::AlwaysOnTop], QStringLiteral("1"));
        QCOMPARE(settings::ReadMainPosition(QPoint(33, 44)), QPoint(33, 44));
        QCOMPARE(platform::GetSetting("Corvanta", "Settings", "Lock"), QString());
        QVERIFY(!QFile::exists(platform::settingsFilePath("Corvanta")));
    }

    void anyTextComesBackUnchanged_data()
    {
        QTest::addColumn<QString>("value");
        row("empty", QString());
        row("blanks kept", QStringLiteral(" 1 "));
        row("ini syntax", QStringLiteral("a=b;c [Settings] #x"));
        row("list separator", QStringLiteral("one, two"));
        row("line break", QStringLiteral("line\r\nnext"));
        row("quotes and backslash", QStringLiteral("\"C:\\dir\\\""));
        row("not latin", QStringLiteral("\u00e9\u4e2d\u0416"));
    }
    void anyTextComesBackUnchanged()
    {
        QFETCH(QString, value);
        QVERIFY(platform::SaveSetting("Corvanta", "Settings", "Key", value));
        QCOMPARE(platform::GetSetting("Corvanta", "Settings", "Key", "default"), value);
    }

    void handEditedListReadsAsItsFirstItem()
    {
        QFile file(platform::settingsFilePath("Corvanta"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\nMainLeft=1200, 3000\n");
        file.close();
        QCOMPARE(platform::GetSetting("Corvanta", "Settings", "MainLeft", "0"), QStringLiteral("1200"));
    }

    void storedPositionsAreTwipsAndOddTextsFallBack_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("pixels");
        const int fallback = 21;
        row("whole pixels", QStringLiteral("1200"), 80);
        row("between pixels rounds", QStringLiteral("1208"), 81);
        row("empty", QString(), fallback);
        row("number then text", QStringLiteral("12px"), fallback);
        row("beyond int", QStringLiteral("1e308"), fallback);
        row("beyond any desktop", QStringLiteral("99999999999"), fallback);
    }
    void storedPositionsAreTwipsAndOddTextsFallBack()
    {
        QFETCH(QString, stored);
        QFETCH(int, pixels);
        QVERIFY(settings::SaveSetting(settings::kMainLeft, stored));
        QVERIFY(settings::SaveSetting(settings::kMainTop, stored));
        QCOMPARE(settings::ReadMainPosition(QPoint(21, 21)), QPoint(pixels, pixels));
    }

    void oneBadCoordinateDoesNotSpoilTheOther()
    {
        QVERIFY(settings::SaveSetting(settings::kMainLeft, QStringLiteral("x")));
        QVERIFY(settings::SaveSetting(settings::kMainTop, QStringLiteral("1500")));
        QCOMPARE(settings::ReadMainPosition(QPoint(7, 8)), QPoint(7, 100));
    }

    void windowIsMovedOnlyWhenItsTitleBarIsOffEveryScreen_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QPoint>("expected");
        // Two screens side by side; the primary on the left.
        const QSize size(400, 300);
        row("on screen", QRect(QPoint(100, 100), size), QPoint(100, 100));
        row("mostly off, title bar corner on", QRect(QPoint(-390, 1070), size), QPoint(-390, 1070));
        row("above the screens", QRect(QPoint(100, -300), size), QPoint(760, 390));
        row("on a screen that is gone", QRect(QPoint(5000, 100), size), QPoint(760, 390));
        row("body on screen, title bar above it", QRect(QPoint(100, -20), size), QPoint(760, 390));
        row("larger than the screen", QRect(QPoint(-5000, 0), QSize(3000, 2000)), QPoint(0, 0));
    }
    void windowIsMovedOnlyWhenItsTitleBarIsOffEveryScreen()
    {
        QFETCH(QRect, frame);
        QFETCH(QPoint, expected);
        const QRect primary(0, 0, 1920, 1080);
        const QRect second(1920, 0, 1280, 1024);
        QCOMPARE(settings::ReachablePosition(frame, 20, {primary, second}, primary), expected);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_Settings.moc"
