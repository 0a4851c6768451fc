// Set Password and Compress from the main window, on a real data file.

#include "DataControl.h"
#include "EngineFixture.h"
#include "FileCommands.h"
#include "General.h"
#include "MainWindowFixture.h"
#include "Maintenance.h"
#include "Statements.h"
#include "frm_Password.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

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
        QTest::newRow("set one") << ""
                                 << "new one";
        QTest::newRow("change it") << "old"
                                   << "new one";
        QTest::newRow("remove it") << "old"
                                   << "";
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
        QCOMPARE(gstr_Password, to);
        QCOMPARE(main.menuItem("mnu_ViewLock")->isEnabled(), !to.isEmpty());
        QCOMPARE(f.text("sle_Name"), QString("Ann"));
        main.showPage("Web");
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
        QCOMPARE(gstr_Password, to);
        QCOMPARE(f.text("sle_WebAccount"), QString("Alpha"));
        f.closeWindow();
        dao::DatabasePtr db;
        QCOMPARE(dao::DBEngine::OpenDatabase(f.dataFile, false, false, statements::connectWith(to), db).number(), 0);
    }

    void compressAnsweredNoChangesNothing()
    {
        MainWindowFixture f("pw");
        f.add("[Web Accounts]", {{"Web Site", "Alpha"}});
        frm_Main& main = f.show();
        const QDateTime before = QFileInfo(f.dataFile).lastModified();
        const int busyBefore = f.seam.busyOn;
        main.menuItem("mnu_FileCompress")->trigger();
        QCOMPARE(f.seam.messages.size(), 1);
        QCOMPARE(f.seam.messages[0].text, QString("Are you sure you want to compress that datafile?"));
        QCOMPARE(f.seam.messages[0].title, QString("Corvanta"));
        QCOMPARE(f.seam.messages[0].flags, 292);
        QCOMPARE(f.seam.busyOn, busyBefore);
        QCOMPARE(QFileInfo(f.dataFile).lastModified(), before);
        QVERIFY(gdb_Data && gdb_Data->IsOpen());
    }

    void compressKeepsEverythingAndShowsTheFirstRecords_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("with password") << "pw";
        QTest::newRow("without password") << "";
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
        main.showPage("Web");
        QVERIFY(!main.dataControl("Web")->Recordset()->MoveLast());
        const qint64 before = QFileInfo(f.dataFile).size();
        f.seam.queueAnswer(6);
        main.menuItem("mnu_FileCompress")->trigger();
        QCOMPARE(f.seam.messages.size(), 1);
        QVERIFY(QFileInfo(f.dataFile).size() < before);
        QCOMPARE(QDir(f.dir.path()).entryList({"*Compact*", "*.tmp"}, QDir::Files), QStringList());
        QCOMPARE(f.text("sle_Name"), QString("Ann"));
        QCOMPARE(f.text("sle_WebAccount"), QString("Site 000"));
        main.showPage("Credit");
        QCOMPARE(f.text("sle_CreditCard"), QString("Amber"));
        QVERIFY(gdb_Data && gdb_Data->IsOpen());
        QVERIFY(!f.seam.busy);
    }

    void failedCompressionIsReportedAndTheFileKept()
    {
        MainWindowFixture f("pw");
        f.add("[Web Accounts]", {{"Web Site", "Alpha"}});
        frm_Main& main = f.show();
        main.showPage("Web");
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
};

QTEST_MAIN(tst_FileCommands)
#include "tst_FileCommands.moc"
