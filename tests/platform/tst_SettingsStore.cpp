#include "SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_SettingsStore : public QObject
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

    void absentKeyGivesTheDefault()
    {
        QCOMPARE(platform::GetSetting("Corvanta", "Settings", "Lock", "0"), QStringLiteral("0"));
        QCOMPARE(platform::GetSetting("Corvanta", "Settings", "Lock"), QString());
        QVERIFY(!QFile::exists(platform::settingsFilePath("Corvanta")));
    }

    void anyTextComesBackUnchanged_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("empty") << QString();
        QTest::newRow("blanks kept") << QStringLiteral("  1 ");
        QTest::newRow("ini syntax") << QStringLiteral("a=b;c [Settings] #x");
        QTest::newRow("list separator") << QStringLiteral("one, two");
        QTest::newRow("line break") << QStringLiteral("line\r\nnext");
        QTest::newRow("quotes and backslash") << QStringLiteral("\"C:\\dir\\\"");
        QTest::newRow("not latin") << QStringLiteral("\u00e9\u4e2d\u0416");
    }

    void anyTextComesBackUnchanged()
    {
        QFETCH(QString, value);
        QVERIFY(platform::SaveSetting("Corvanta", "Settings", "Key", value));
        QCOMPARE(platform::GetSetting("Corvanta", "Settings", "Key", "default"), value);
        // Present though empty: an empty text is a value, not an absent key.
        QVERIFY(QFile::exists(platform::settingsFilePath("Corvanta")));
    }

    void handEditedListReadsAsItsFirstItem()
    {
        QFile file(platform::settingsFilePath("Corvanta"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\nMainLeft=1200, 3000\n");
        file.close();
        QCOMPARE(platform::GetSetting("Corvanta", "Settings", "MainLeft", "0"), QStringLiteral("1200"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_SettingsStore.moc"
