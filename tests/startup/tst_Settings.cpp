#include "Settings.h"
#include "SettingsStore.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using testsupport::row;

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
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("top");
        QTest::addColumn<QPoint>("pixels"); // the fallback is (7, 8)
        row("whole pixels", "1200", "1200", QPoint(80, 80));
        row("between pixels rounds", "1208", "1208", QPoint(81, 81));
        row("empty", "", "", QPoint(7, 8));
        row("number then text", "12px", "12px", QPoint(7, 8));
        row("beyond int", "1e308", "1e308", QPoint(7, 8));
        row("beyond any desktop", "99999999999", "99999999999", QPoint(7, 8));
        row("one bad coordinate spoils not the other", "x", "1500", QPoint(7, 100));
    }
    void storedPositionsAreTwipsAndOddTextsFallBack()
    {
        QFETCH(QString, left);
        QFETCH(QString, top);
        QFETCH(QPoint, pixels);
        QVERIFY(settings::SaveSetting(settings::kMainLeft, left));
        QVERIFY(settings::SaveSetting(settings::kMainTop, top));
        QCOMPARE(settings::ReadMainPosition(QPoint(7, 8)), pixels);
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
