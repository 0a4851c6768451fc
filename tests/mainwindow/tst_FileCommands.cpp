// Set Password and Compress from the main window, on a real data file.

#include "DataControl.h"
#include "EngineFixture.h"
#include "FileCommands.h"
#include "General.h"
#include "MainWindowFixture.h"
#include "Maintenance.h"
#include "Statements.h"
#include "TestSupport.h"
#include "frm_Password.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

#include <sys/stat.h>

using testsupport::row;

namespace {

// Types the three boxes of the change-password dialog and presses Enter.
testsupport::ScriptedSeam::Script changePassword(const QString& oldPw, const QString& newPw)
{
    return [oldPw, newPw](QDialog* dialog) {
        QTest::keyClicks(dialog->findChild<QLineEdit*>("sle_OldPassword"), oldPw);
        QTest::keyClicks(dialog->findChild<QLineEdit*>("sle_NewPassword"), newPw);
        QTest::keyClicks(dialog->findChild<QLineEdit*>("sle_NewPasswordAgain"), newPw);
        QTest::keyClick(dialog->findChild<QLineEdit*>("sle_NewPasswordAgain"), Qt::Key_Return);
    };
}

mode_t modeOf(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 0777) : 0;
}

} // namespace

class tst_FileCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { fixture::useCheapKdf(); }

    void setPasswordRebindsAndTogglesTheLockItem_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        row("set one", QString(), "new one");
        row("change it", "old", "new one");
        row("remove it", "old", QString());
    }
    void setPasswordRebindsAndTogglesTheLockItem()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        MainWindowFixture f(from);
        f.add("[Web Accounts]", {{"Web Site", "Zulu"}});
        f.add("[Web Accounts]", {{"Web Site", "Alpha"}});
        f.add("[Personal Information]", {{"Name", "Ann"}});
        frm_Main& main = f.show();
        QCOMPARE(main.menuItem("mnu_ViewLock")->isEnabled(), !from.isEmpty());
        f.seam.queueScript(changePassword(from, to));
        main.menuItem("mnu_FileSetPassword")->trigger();
        QCOMPARE(f.seam.messages.size(), 0);
        QCOMPARE(fixture::text(gstr_Password), to);
        QCOMPARE(main.menuItem("mnu_ViewLock")->isEnabled(), !to.isEmpty());
        QCOMPARE(f.text("sle_Name"), QString("Ann"));
        main.showPage(Category::Web);
        QCOMPARE(f.text("sle_WebAccount"), QString("Alpha"));
        QVERIFY(!f.seam.busy);
        // The dialog stays loaded, hidden, and starts empty the next time.
        frm_Password* dialog = main.fileCommands().passwordDialog();
        QVERIFY(dialog && !dialog->isVisible());
        f.seam.queueScript([](QDialog* d) {
            QVERIFY(d->findChild<QLineEdit*>("sle_OldPassword")->text().isEmpty());
            QTest::keyClick(d, Qt::Key_Escape);
        });
        QTest::keyClick(&main, Qt::Key_Escape); // nothing to do with the window
        main.menuItem("mnu_FileSetPassword")->trigger();
        QCOMPARE(fixture::text(gstr_Password), to);
        QCOMPARE(f.text("sle_WebAccount"), QString("Alpha"));
        f.closeWindow();
        dao::DatabasePtr db;
        QCOMPARE(dao::DBEngine::OpenDatabase(f.dataFile, false, false, statements::connectWith(to), db).number(), 0);
    }

    void compressKeepsEverythingAndShowsTheFirstRecords_data()
    {
        QTest::addColumn<QString>("password");
        row("with password", "pw");
        row("without password", "");
    }
    void compressKeepsEverythingAndShowsTheFirstRecords()
    {
        QFETCH(QString, password);
        MainWindowFixture f(password);
        for (int i = 0; i < 200; ++i) {
            f.add("[Web Accounts]",
                  {{"Web Site", QString("Site %1").arg(i, 3, 10, QChar('0'))}, {"Notes", QString(200, 'n')}});
        }
        f.add("[Credit Cards]", {{"Credit Card", "Blue"}});
        f.add("[Credit Cards]", {{"Credit Card", "Amber"}});
        f.add("[Personal Information]", {{"Name", "Ann"}});
        {
            dao::DatabasePtr db = fixture::open(f.dataFile, password);
            QVERIFY(!db->Execute("DELETE FROM [Web Accounts] WHERE [Web Site ID] > 2"));
        }
        frm_Main& main = f.show();
        main.showPage(Category::Web);
        QVERIFY(!main.dataControl(Category::Web)->Recordset()->MoveLast());
        const qint64 before = QFileInfo(f.dataFile).size();
        const QDateTime written = QFileInfo(f.dataFile).lastModified();
        const int busy = f.seam.busyOn;
        main.menuItem("mnu_FileCompress")->trigger(); // answered No: nothing changes
        QCOMPARE(f.seam.messages.size(), 1);
        QCOMPARE(f.seam.messages[0].text, QString("Are you sure you want to compress that datafile?"));
        QCOMPARE(f.seam.messages[0].flags, 292);
        QCOMPARE(f.seam.busyOn, busy);
        QCOMPARE(QFileInfo(f.dataFile).lastModified(), written);
        f.seam.queueAnswer(6);
        main.menuItem("mnu_FileCompress")->trigger();
        QCOMPARE(f.seam.messages.size(), 2);
        QVERIFY(QFileInfo(f.dataFile).size() < before);
        QCOMPARE(QDir(f.dir.path()).entryList({"*Compact*", "*.tmp"}, QDir::Files), QStringList());
        QCOMPARE(f.text("sle_Name"), QString("Ann"));
        QCOMPARE(f.text("sle_WebAccount"), QString("Site 000"));
        main.showPage(Category::Credit);
        QCOMPARE(f.text("sle_CreditCard"), QString("Amber"));
        QVERIFY(gdb_Data && gdb_Data->IsOpen());
        QVERIFY(!f.seam.busy);
    }

    void failedCompressionIsReportedAndTheFileKept()
    {
        MainWindowFixture f("pw");
        f.add("[Web Accounts]", {{"Web Site", "Alpha"}});
        frm_Main& main = f.show();
        main.showPage(Category::Web);
        f.seam.queueAnswer(6);
        {
            fixture::FailAt ops("rename");
            main.menuItem("mnu_FileCompress")->trigger();
        }
        QCOMPARE(f.seam.messages.size(), 2);
        QVERIFY(f.seam.messages[1].text.startsWith("Error: "));
        QCOMPARE(f.seam.messages[1].title, QString("Corvanta Error"));
        QCOMPARE(QDir(f.dir.path()).entryList({"*Compact*", "*.tmp"}, QDir::Files), QStringList());
        QCOMPARE(f.text("sle_WebAccount"), QString("Alpha")); // attached again
        QVERIFY(gdb_Data && gdb_Data->IsOpen());
        QVERIFY(!f.seam.busy);
    }

    void exportAsksFirstAndWritesAPrivateFile()
    {
        MainWindowFixture f("pw");
        f.add("[Web Accounts]", {{"Web Site", "Bank"}, {"Password", "secret, \"quoted\""}});
        frm_Main& main = f.show();
        const QString path = f.dir.filePath("out.csv");
        main.menuItem("mnu_FileExport")->trigger(); // answered No
        QCOMPARE(f.seam.messages.size(), 1);
        QVERIFY(f.seam.messages[0].text.contains("every password of the data file in plain text"));
        QCOMPARE(f.seam.messages[0].flags, 292);
        QVERIFY(f.seam.fileChoosers.isEmpty());
        f.seam.queueAnswer(6);
        f.seam.queueFile(f.dataFile);
        main.menuItem("mnu_FileExport")->trigger();
        QCOMPARE(f.seam.messages.last().text, QString("That is the data file itself. Choose another file."));
        f.seam.queueAnswer(6);
        f.seam.queueFile(path);
        main.menuItem("mnu_FileExport")->trigger();
        QCOMPARE(f.seam.messages.last().text, "1 record exported to " + path + ".");
        QVERIFY(
            testsupport::readFile(path).contains("\r\nWeb,,,,,,,,,,,,,,,,,,Bank,,,,\"secret, \"\"quoted\"\"\"\r\n"));
        QCOMPARE(modeOf(path), mode_t(0600));
        QVERIFY(fixture::open(f.dataFile, "pw"));
    }

    void backUpWritesAnExactCopyOrNothing()
    {
        MainWindowFixture f("pw");
        f.add("[Web Accounts]", {{"Web Site", "Bank"}});
        frm_Main& main = f.show();
        const QString path = f.dir.filePath("copy.cvd");
        f.seam.queueFile(path);
        {
            fixture::FailAt ops("write");
            main.menuItem("mnu_FileBackUp")->trigger();
        }
        QVERIFY(f.seam.messages.last().text.startsWith("Error: "));
        QCOMPARE(QDir(f.dir.path()).entryList({"copy*"}, QDir::Files), QStringList());
        f.seam.queueFile(path);
        main.menuItem("mnu_FileBackUp")->trigger();
        QCOMPARE(f.seam.messages.last().text, "The data file was backed up to " + path + ".");
        QCOMPARE(testsupport::readFile(path), testsupport::readFile(f.dataFile));
        QCOMPARE(modeOf(path), mode_t(0600));
        QVERIFY(fixture::open(path, "pw"));
        main.menuItem("mnu_FileBackUp")->trigger(); // cancelled: nothing shown
        QCOMPARE(f.seam.fileChoosers.size(), 3);
        QCOMPARE(f.seam.messages.size(), 2);
        QVERIFY(!f.seam.busy);
    }
};

QTEST_MAIN(tst_FileCommands)
#include "tst_FileCommands.moc"
