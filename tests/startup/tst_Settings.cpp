#include "Settings.h"
#include "SettingsStore.h"

#include <QTemporaryDir>
#include <QTest>

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
    }

    void onlyTheTextOneIsOn_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("on");
        QTest::newRow("1") << QStringLiteral("1") << true;
        QTest::newRow("0") << QStringLiteral("0") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("blank before") << QStringLiteral(" 1") << false;
        QTest::newRow("true") << QStringLiteral("true") << false;
        QTest::newRow("-1") << QStringLiteral("-1") << false;
        QTest::newRow("01") << QStringLiteral("01") << false;
    }
    void onlyTheTextOneIsOn()
    {
        QFETCH(QString, text);
        QFETCH(bool, on);
        QCOMPARE(settings::IsOn(text), on);
        // Whatever is stored comes back as stored; only the reading of it decides.
        QVERIFY(settings::SaveSetting(settings::kSplashScreen, text));
        QCOMPARE(settings::ReadSplashScreen(), text);
    }

    void storedPositionsAreTwipsAndOddTextsFallBack_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("pixels");
        const int fallback = 21;
        QTest::newRow("whole pixels") << QStringLiteral("1200") << 80;
        QTest::newRow("zero") << QStringLiteral("0") << 0;
        QTest::newRow("left of the primary screen") << QStringLiteral("-3000") << -200;
        QTest::newRow("between pixels rounds") << QStringLiteral("1208") << 81;
        QTest::newRow("fraction") << QStringLiteral("1200.4") << 80;
        QTest::newRow("blanks around") << QStringLiteral(" 1500 ") << 100;
        QTest::newRow("far off screen kept") << QStringLiteral("150000") << 10000;
        QTest::newRow("empty") << QString() << fallback;
        QTest::newRow("word") << QStringLiteral("left") << fallback;
        QTest::newRow("number then text") << QStringLiteral("12px") << fallback;
        QTest::newRow("not a number") << QStringLiteral("nan") << fallback;
        QTest::newRow("infinite") << QStringLiteral("inf") << fallback;
        QTest::newRow("beyond int") << QStringLiteral("1e308") << fallback;
        QTest::newRow("beyond any desktop") << QStringLiteral("99999999999") << fallback;
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
        QTest::newRow("on screen") << QRect(QPoint(100, 100), size) << QPoint(100, 100);
        QTest::newRow("on the second screen") << QRect(QPoint(2000, 50), size) << QPoint(2000, 50);
        QTest::newRow("mostly off, title bar corner on") << QRect(QPoint(-390, 1070), size) << QPoint(-390, 1070);
        QTest::newRow("straddling both screens") << QRect(QPoint(1800, 0), size) << QPoint(1800, 0);
        QTest::newRow("bottom half off the screen") << QRect(QPoint(100, 900), size) << QPoint(100, 900);
        QTest::newRow("above the screens") << QRect(QPoint(100, -300), size) << QPoint(760, 390);
        QTest::newRow("left of the screens") << QRect(QPoint(-500, 100), size) << QPoint(760, 390);
        QTest::newRow("below the screens") << QRect(QPoint(100, 1080), size) << QPoint(760, 390);
        QTest::newRow("on a screen that is gone") << QRect(QPoint(5000, 100), size) << QPoint(760, 390);
        QTest::newRow("body on screen, title bar above it") << QRect(QPoint(100, -20), size) << QPoint(760, 390);
        QTest::newRow("larger than the screen") << QRect(QPoint(-5000, 0), QSize(3000, 2000)) << QPoint(0, 0);
    }
    void windowIsMovedOnlyWhenItsTitleBarIsOffEveryScreen()
    {
        QFETCH(QRect, frame);
        QFETCH(QPoint, expected);
        const QRect primary(0, 0, 1920, 1080);
        const QRect second(1920, 0, 1280, 1024);
        QCOMPARE(settings::ReachablePosition(frame, 20, {primary, second}, primary), expected);
    }

    void unloadWritesPositionThenFlagsInOrder()
    {
        Flags flags;
        flags[settings::Lock] = QStringLiteral("1");
        flags[settings::ViewPasswords] = QStringLiteral("0");
        flags[settings::SplashScreen] = QStringLiteral("0");
        flags[settings::AlwaysOnTop] = QStringLiteral("1");
        const auto entries = settings::SettingsToWrite(false, QPoint(80, -10), flags);
        const QList<QPair<QString, QString>> expected{{"MainLeft", "1200"},  {"MainTop", "-150"},
                                                      {"Lock", "1"},         {"ViewPasswords", "0"},
                                                      {"SplashScreen", "0"}, {"AlwaysOnTop", "1"}};
        QCOMPARE(entries, expected);
    }

    void minimisedWindowKeepsTheStoredPosition()
    {
        QVERIFY(settings::SaveSetting(settings::kMainLeft, QStringLiteral("1500")));
        QVERIFY(settings::SaveSetting(settings::kMainTop, QStringLiteral("3000")));
        const Flags flags{QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("0")};
        QVERIFY(settings::WriteSettings(true, QPoint(-32000, -32000), flags));

        QCOMPARE(settings::ReadMainPosition(QPoint()), QPoint(100, 200));
        QCOMPARE(settings::ReadFlags(), flags);
        QCOMPARE(settings::ReadSplashScreen(), QStringLiteral("0"));
    }

    void writtenPositionReadsBackTheSame_data()
    {
        QTest::addColumn<QPoint>("position");
        QTest::newRow("origin") << QPoint(0, 0);
        QTest::newRow("ordinary") << QPoint(123, 456);
        QTest::newRow("negative") << QPoint(-1280, -5);
    }
    void writtenPositionReadsBackTheSame()
    {
        QFETCH(QPoint, position);
        QVERIFY(settings::WriteSettings(false, position, settings::ReadFlags()));
        QCOMPARE(settings::ReadMainPosition(QPoint(1, 1)), position);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_Settings.moc"
