#include "SettingsStore.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using testsupport::row;

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
