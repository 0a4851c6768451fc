// Start-up on real data files in a program directory of the test's own.

#include "Desktop.h"
#include "EngineFixture.h"
#include "General.h"
#include "Main.h"
#include "ScriptedSeam.h"
#include "SettingsStore.h"
#include "SingleInstance.h"
#include "frm_Login.h"
#include "frm_Splash.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using testsupport::ScriptedSeam;

namespace {

// Types a password into the login dialog and presses Enter.
ScriptedSeam::Script typePassword(const QString& text)
{
    return [text](QDialog* dialog) {
        auto* box = dialog->findChild<QLineEdit*>();
        QVERIFY(box);
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    };
}

bool splashVisible()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<frm_Splash*>(w) && w->isVisible()) {
            return true;
        }
    }
    return false;
}

} // namespace

class tst_Main : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_settings;
    std::unique_ptr<QTemporaryDir> m_program;
    QStringList m_opened; // windows opened by start-up, in order
    StartupWindows windows()
    {
        StartupWindows w;
        w.personalInformation = [this] { m_opened << "personal"; };
        w.mainWindow = [this] { m_opened << "main"; };
        return w;
    }
    QString dataFile() const { return m_program->filePath("Corvanta.cvd"); }

private slots:
    void initTestCase()
    {
        fixture::useCheapKdf();
        platform::setSettingsFolder(m_settings.path());
        platform::SingleInstance::setDefaultLockFilePath(m_settings.filePath("corvanta.lock"));
    }
    void init()
    {
        m_program = std::make_unique<QTemporaryDir>();
        platform::setProgramDirectory(m_program->path());
        platform::SaveSetting("Corvanta", "Settings", "SplashScreen", "0");
        m_opened.clear();
        gstr_Password.clear();
        gstr_Connect.clear();
        gdb_Data.reset();
    }
    void cleanup() { gdb_Data.reset(); }

    void secondCopyIsRefused()
    {
        fixture::createDataFile(m_program->path());
        platform::SingleInstance running(m_settings.filePath("corvanta.lock"));
        QVERIFY(running.tryAcquire());
        ScriptedSeam seam;
        QCOMPARE(Main(windows()), StartupResult::Ended);
        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages[0].text, QString("Corvanta is already running."));
        QCOMPARE(seam.messages[0].title, QString("Corvanta Error"));
        QCOMPARE(seam.messages[0].flags, 64);
        QVERIFY(running.isHeld()); // the running copy keeps its lock
        QVERIFY(!gdb_Data);
        QVERIFY(m_opened.isEmpty());
    }

    void missingFileStopsWithoutLogin()
    {
        ScriptedSeam seam;
        QCOMPARE(Main(windows()), StartupResult::Ended);
        QCOMPARE(seam.modalDialogs.size(), 0);
        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages[0].text,
                 QString("The Corvanta data file cannot be found. Please check the application directory."));
        QCOMPARE(seam.messages[0].flags, 16);
        QCOMPARE(seam.messages[0].title, QString("Corvanta Error"));
        QVERIFY(m_opened.isEmpty());
        QVERIFY(!QFile::exists(dataFile()));
        QVERIFY(!seam.busy);
    }

    void fileWithoutPasswordOpensAtOnce()
    {
        const QString file = fixture::createDataFile(m_program->path());
        {
            dao::DatabasePtr db = fixture::open(file);
            fixture::addRecord(*db, "[Personal Information]", {{"Name", "Ann"}});
        }
        ScriptedSeam seam;
        QCOMPARE(Main(windows()), StartupResult::Running);
        QCOMPARE(seam.modalDialogs.size(), 0);
        QCOMPARE(seam.messages.size(), 0);
        QVERIFY(gstr_Password.isEmpty());
        QVERIFY(gdb_Data && gdb_Data->IsOpen());
        QCOMPARE(gdb_Data->Name(), dataFile());
        QCOMPARE(gstr_Version, QString("Version 1.0"));
        QCOMPARE(m_opened, QStringList{"main"});
        QVERIFY(!seam.busy);
        QVERIFY(!seam.busy);
    }

    void emptyPersonalTableAsksForTheRecordFirst()
    {
        fixture::createDataFile(m_program->path());
        ScriptedSeam seam;
        QCOMPARE(Main(windows()), StartupResult::Running);
        QCOMPARE(m_opened, (QStringList{"personal", "main"}));
    }

    void wrongPasswordsGiveFreshDialogsUntilTheRightOne()
    {
        fixture::createDataFile(m_program->path(), "Right One");
        ScriptedSeam seam;
        for (const char* wrong : {"right one", "Right One ", "x", "Right", "RIGHT ONE"}) {
            seam.queueScript(typePassword(wrong));
        }
        QList<QDialog*> dialogs;
        seam.queueScript([&](QDialog* d) {
            dialogs << d;
            typePassword("Right One")(d);
        });
        QCOMPARE(Main(windows()), StartupResult::Running);
        QCOMPARE(seam.modalDialogs.size(), 6);
        QCOMPARE(seam.messages.size(), 5);
        for (const auto& m : seam.messages) {
            QCOMPARE(m.text, QString("The password is incorrect.\r\n"));
            QCOMPARE(m.title, QString("Corvanta Password"));
            QCOMPARE(m.flags, 64);
        }
        QCOMPARE(gstr_Password, QString("Right One"));
        QCOMPARE(gstr_Connect, QString("MS Access;PWD=Right One"));
        QCOMPARE(m_opened, (QStringList{"personal", "main"}));
        QVERIFY(!seam.busy);
    }

    void cancelledLoginEndsHavingWrittenNothing()
    {
        const QString file = fixture::createDataFile(m_program->path(), "pw");
        QFile::remove(platform::settingsFilePath("Corvanta"));
        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray before = in.readAll();
        in.close();
        const QStringList filesBefore = QDir(m_program->path()).entryList(QDir::Files);
        ScriptedSeam seam;
        seam.queueScript(typePassword("wrong"));
        seam.queueScript([](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
        QCOMPARE(Main(windows()), StartupResult::Ended);
        QCOMPARE(seam.modalDialogs.size(), 2);
        QVERIFY(m_opened.isEmpty());
        QVERIFY(!gdb_Data);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QCOMPARE(in.readAll(), before);
        QVERIFY(!QFile::exists(platform::settingsFilePath("Corvanta")));
        QVERIFY(!seam.busy);
    }

    void compactionStoppedHalfWayIsTakenBack()
    {
        const QString file = fixture::createDataFile(m_program->path(), "pw");
        QVERIFY(QFile::rename(file, file + "Compact"));
        ScriptedSeam seam;
        seam.queueScript(typePassword("pw"));
        QCOMPARE(Main(windows()), StartupResult::Running);
        QCOMPARE(seam.messages.size(), 0);
        QVERIFY(QFile::exists(file));
        QVERIFY(!QFile::exists(file + "Compact"));
    }

    void damagedFileIsReported()
    {
        QFile f(dataFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a data file at all");
        f.close();
        ScriptedSeam seam;
        QCOMPARE(Main(windows()), StartupResult::Ended);
        QCOMPARE(seam.messages.size(), 1);
        QVERIFY(seam.messages[0].text.startsWith("Error: "));
        QVERIFY(seam.messages[0].text.endsWith(" [3343]"));
        QCOMPARE(seam.messages[0].title, QString("Corvanta Error"));
        QCOMPARE(seam.messages[0].flags, 64);
        QVERIFY(m_opened.isEmpty());
    }

    void splashOnlyForExactlyOne_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<bool>("shown");
        QTest::newRow("0") << "0" << false;
        QTest::newRow("yes") << "yes" << false;
        QTest::newRow("blank 1") << " 1" << false;
        QTest::newRow("1") << "1" << true;
    }
    void splashOnlyForExactlyOne()
    {
        QFETCH(QString, setting);
        QFETCH(bool, shown);
        fixture::createDataFile(m_program->path(), "pw");
        platform::SaveSetting("Corvanta", "Settings", "SplashScreen", setting);
        ScriptedSeam seam;
        bool visibleDuringLogin = false;
        bool visibleAtMain = true;
        seam.queueScript([&](QDialog* d) {
            visibleDuringLogin = splashVisible();
            typePassword("pw")(d);
        });
        StartupWindows w = windows();
        w.mainWindow = [&] { visibleAtMain = splashVisible(); };
        QCOMPARE(Main(w), StartupResult::Running);
        QCOMPARE(visibleDuringLogin, shown);
        QVERIFY(!visibleAtMain);
    }
};

QTEST_MAIN(tst_Main)
#include "tst_Main.moc"
