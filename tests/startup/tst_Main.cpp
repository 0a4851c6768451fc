// Start-up on real data files in a program directory of the test's own.

#include "Desktop.h"
#include "EngineFixture.h"
#include "General.h"
#include "Main.h"
#include "ScriptedSeam.h"
#include "SettingsStore.h"
#include "SingleInstance.h"
#include "TestSupport.h"
#include "frm_Splash.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using testsupport::row;

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
    // A prefix of the test's own: the program in bin/, the person's data folder in data/.
    std::unique_ptr<QTemporaryDir> m_root;
    QStringList m_opened; // windows opened by start-up, in order
    StartupWindows windows()
    {
        StartupWindows w;
        w.personalInformation = [this] { m_opened << "personal"; };
        w.mainWindow = [this] { m_opened << "main"; };
        return w;
    }
    QString programDir() const { return m_root->filePath("bin"); }
    QString userDir() const { return m_root->filePath("data/Corvanta"); }
    QString dataFile() const { return programDir() + "/Corvanta.cvd"; }

private slots:
    void initTestCase()
    {
        fixture::useCheapKdf();
        platform::setSettingsFolder(m_settings.path());
        platform::SingleInstance::setDefaultLockFilePath(m_settings.filePath("corvanta.lock"));
    }
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(m_root->path()).mkdir("bin"));
        platform::setProgramDirectory(programDir());
        qputenv("XDG_DATA_HOME", m_root->filePath("data").toLocal8Bit());
        platform::SaveSetting("Corvanta", "Settings", "SplashScreen", "0");
        m_opened.clear();
        gstr_Password.clear();
        gstr_Connect.clear();
        gdb_Data.reset();
    }
    void cleanup() { gdb_Data.reset(); }

    void dataFileIsFoundBesideTheProgramThenInTheUsersFolder_data()
    {
        QTest::addColumn<QStringList>("present"); // "beside", "user", "shipped", "companion"
        QTest::addColumn<QString>("opened");      // "beside", "user" or empty: none, the stop message
        // Beside the program alone is the real-window test's start; the shipped empty file copied
        // for a new user, the install test's.
        row("both: the portable copy wins", QStringList{"beside", "user", "shipped"}, "beside");
        row("user's folder", QStringList{"user", "shipped"}, "user");
        row("compaction stopped in the user's folder", QStringList{"companion", "shipped"}, "user");
        row("nowhere", QStringList{}, "");
    }
    void dataFileIsFoundBesideTheProgramThenInTheUsersFolder()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, opened);
        const QString shippedDir = m_root->filePath("share/corvanta");
        for (const QString& place : present) {
            const QString dir = place == "beside" ? programDir() : place == "shipped" ? shippedDir : userDir();
            QVERIFY(QDir().mkpath(dir));
            const QString file = fixture::createDataFile(dir);
            if (place != "shipped") {
                dao::DatabasePtr db = fixture::open(file);
                fixture::addRecord(*db, "[Personal Information]", {{"Name", place}});
            }
            if (place == "companion") {
                QVERIFY(QFile::rename(file, file + "Compact"));
            }
        }
        ScriptedSeam seam;
        const StartupResult result = Main(windows());
        if (opened.isEmpty()) {
            QCOMPARE(result, StartupResult::Ended);
            QCOMPARE(seam.modalDialogs.size(), 0);
            QCOMPARE(seam.messages.size(), 1);
            QCOMPARE(seam.messages[0].text,
                     QString("The Corvanta data file cannot be found. Please check the application directory.\n"
                             "Looked for Corvanta.cvd in: %1 and %2.")
                         .arg(programDir(), userDir()));
            QCOMPARE(seam.messages[0].flags, 16);
            QCOMPARE(seam.messages[0].title, QString("Corvanta Error"));
            QVERIFY(m_opened.isEmpty() && !seam.busy && !QFile::exists(userDir()));
            return;
        }
        QCOMPARE(result, StartupResult::Running);
        QCOMPARE(seam.modalDialogs.size() + seam.messages.size(), 0); // no password, no login
        QVERIFY(gstr_Password.isEmpty() && !seam.busy);
        const QString expected = (opened == "beside" ? programDir() : userDir()) + "/Corvanta.cvd";
        QCOMPARE(gdb_Data->Name(), expected);
        QCOMPARE(m_opened, QStringList{"main"}); // the file has its personal record
        // The lock lives beside the file in use, and no temporary copy is left.
        QCOMPARE(QDir(QFileInfo(expected).path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"Corvanta.cvd", "Corvanta.cvd.lock"}));
    }

    void wrongPasswordsGiveFreshDialogsUntilTheRightOneOrCancel_data()
    {
        QTest::addColumn<bool>("cancel");
        row("then the right one", false);
        row("then cancel: ends having written nothing", true);
    }
    void wrongPasswordsGiveFreshDialogsUntilTheRightOneOrCancel()
    {
        QFETCH(bool, cancel);
        const QString file = fixture::createDataFile(programDir(), "Right One");
        if (cancel) {
            QFile::remove(platform::settingsFilePath("Corvanta"));
        }
        const QByteArray before = testsupport::readFile(file);
        ScriptedSeam seam;
        for (const char* wrong : {"right one", "Right One "}) {
            seam.queueScript(typePassword(wrong));
        }
        seam.queueScript(cancel ? [](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); } : typePassword("Right One"));
        QCOMPARE(Main(windows()), cancel ? StartupResult::Ended : StartupResult::Running);
        QCOMPARE(seam.modalDialogs.size(), 3);
        QCOMPARE(seam.messages.size(), 2);
        for (const auto& m : seam.messages) {
            QCOMPARE(m.text, QString("The password is incorrect.\r\n"));
            QCOMPARE(m.title, QString("Corvanta Password"));
            QCOMPARE(m.flags, 64);
        }
        QVERIFY(!seam.busy);
        if (cancel) {
            QVERIFY(m_opened.isEmpty() && !gdb_Data);
            QCOMPARE(testsupport::readFile(file), before);
            QVERIFY(!QFile::exists(platform::settingsFilePath("Corvanta")));
            return;
        }
        QCOMPARE(fixture::text(gstr_Password), QString("Right One"));
        QCOMPARE(gstr_Connect, QString("MS Access;PWD=")); // the password goes beside it
        QCOMPARE(m_opened, (QStringList{"personal", "main"}));
    }

    void damagedFileIsReported_data()
    {
        QTest::addColumn<bool>("withPassword");
        QTest::addColumn<QString>("number");
        row("at the first opening", false, " [3343]");
        row("after the login", true, " [3049]");
    }
    void damagedFileIsReported()
    {
        QFETCH(bool, withPassword);
        QFETCH(QString, number);
        if (withPassword) {
            // The header and its key check hold, so the password is asked for; the records do not.
            fixture::createDataFile(programDir(), "pw");
            QFile f(dataFile());
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.seek(f.size() - 1));
            const char last = f.peek(1).at(0);
            f.putChar(static_cast<char>(last ^ 1));
        } else {
            QFile f(dataFile());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not a data file at all");
        }
        platform::SaveSetting("Corvanta", "Settings", "SplashScreen", withPassword ? "1" : "0");
        // An error found after the login is shown at once, above the splash.
        struct SplashWatchingSeam : ScriptedSeam
        {
            bool splashUp = false;
            platform::Answer messageBox(const QString& text, platform::MessageKind kind, const QString& title) override
            {
                splashUp = splashVisible();
                return ScriptedSeam::messageBox(text, kind, title);
            }
        } seam;
        seam.queueScript(typePassword("pw"));
        QCOMPARE(Main(windows()), StartupResult::Ended);
        QCOMPARE(seam.messages.size(), 1);
        QVERIFY(seam.messages[0].text.startsWith("Error: "));
        QVERIFY2(seam.messages[0].text.endsWith(number), qPrintable(seam.messages[0].text));
        QCOMPARE(seam.messages[0].title, QString("Corvanta Error"));
        QCOMPARE(seam.messages[0].flags, 64);
        QCOMPARE(seam.splashUp, withPassword);
        QVERIFY(!splashVisible());
        QVERIFY(m_opened.isEmpty());
    }
};

QTEST_MAIN(tst_Main)
#include "tst_Main.moc"
