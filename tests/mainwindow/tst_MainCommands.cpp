// The commands of the main window's menus and keys on a real data file: create, edit, delete,
// Set Password, Compress, Export and Back Up, the copy keys and the password report.

#include "DataControl.h"
#include "EngineFixture.h"
#include "FileCommands.h"
#include "General.h"
#include "LookupLists.h"
#include "MainWindowFixture.h"
#include "Platform.h"
#include "SecretClipboard.h"
#include "SettingsStore.h"
#include "Statements.h"
#include "TestSupport.h"
#include "frm_Find.h"
#include "frm_Password.h"
#include "frm_PasswordReport.h"

#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QTabWidget>
#include <QTest>
#include <QWindow>

#include <optional>

using testsupport::row;

namespace {

// Enough web accounts that Find and the report read them in steps while the person types on;
// none of them is found or reported.
void addMany(MainWindowFixture& f)
{
    QVERIFY(!dao::DBEngine::BeginTrans());
    for (int i = 0; i <= lookup::kReadAtOnceRecords; ++i) {
        f.add("[Web Accounts]",
              {{"Web Site", QString("Filler %1").arg(i)}, {"Password", QString("filler password number %1").arg(i)}});
    }
    QVERIFY(!dao::DBEngine::CommitTrans());
}

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

class tst_MainCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { fixture::useCheapKdf(); }

    void createAndEditShowTheSavedRecord_data()
    {
        QTest::addColumn<Qt::Key>("key"); // with Ctrl; none: Edit Current Item from the menu
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("nameField");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("saved");
        row("create credit", Qt::Key_A, "[Credit Cards]", "Credit Card", 0, true);
        row("create travel", Qt::Key_T, "[Travel Programs]", "Travel Program", 1, true);
        row("create web", Qt::Key_W, "[Web Accounts]", "Web Site", 2, true);
        // A cancelled create switches the page all the same.
        row("create cancelled", Qt::Key_A, "[Credit Cards]", "Credit Card", 0, false);
        row("edit", Qt::Key_unknown, "[Web Accounts]", "Web Site", 2, true);
    }
    void createAndEditShowTheSavedRecord()
    {
        QFETCH(Qt::Key, key);
        QFETCH(QString, table);
        QFETCH(QString, nameField);
        QFETCH(int, page);
        QFETCH(bool, saved);
        const Category kinds[] = {Category::Credit, Category::Travel, Category::Web};
        const bool edit = key == Qt::Key_unknown;
        MainWindowFixture f;
        f.add(table, {{nameField, "Alpha"}});
        f.add(table, {{nameField, "Mike"}});
        QVERIFY(platform::SaveSetting("Corvanta", "Settings", "AlwaysOnTop", "1"));
        frm_Main& main = f.show();
        // A create goes to its own page; an edit takes the record of the page in front.
        main.showPage(kinds[edit ? page : (page + 1) % 3]);
        // The dialog must come above an always-on-top window: the window leaves the band meanwhile.
        const auto onTop = [&main] { return main.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint); };
        bool onTopDuring = true;
        f.queueDialog([&, save = saved ? MainWindowFixture::saveName("Zulu")
                                       : MainWindowFixture::cancel()](const QString& category, QString& id) {
            onTopDuring = onTop();
            return save(category, id);
        });
        if (edit) {
            main.menuItem("mnu_EditCurrent")->trigger();
        } else {
            main.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&main));
            QTest::keyClick(&main, key, Qt::ControlModifier);
        }

        QCOMPARE(f.dialogCalls.size(), 1);
        QCOMPARE(f.dialogCalls.first().recordIdIn, edit ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(main.findChild<QTabWidget*>("tp_Data")->currentIndex(), page);
        // Added or renamed to the end of the order, and the one shown.
        QCOMPARE(main.nameBox(kinds[page])->text(), saved ? QStringLiteral("Zulu") : QStringLiteral("Alpha"));
        QCOMPARE(main.idBox(kinds[page])->text(), saved && !edit ? QStringLiteral("3") : QStringLiteral("1"));
        QVERIFY(f.seam.messages.isEmpty());
        QVERIFY(!onTopDuring && onTop());
    }

    void deleteAsksByNameThenShowsTheNextOrThePrevious_data()
    {
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<int>("moves");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("left");
        const QStringList abc{"A", "B", "O'Hare"};
        row("answered No", abc, 2, int(platform::Answer::No), "O'Hare", abc);
        row("middle shows next", abc, 1, int(platform::Answer::Yes), "O'Hare", QStringList{"A", "O'Hare"});
        row("last shows previous", abc, 2, int(platform::Answer::Yes), "B", QStringList{"A", "B"});
        row("only record", QStringList{"A"}, 0, int(platform::Answer::Yes), "", QStringList{});
    }
    void deleteAsksByNameThenShowsTheNextOrThePrevious()
    {
        QFETCH(QStringList, records);
        QFETCH(int, moves);
        QFETCH(int, answer);
        QFETCH(QString, shown);
        QFETCH(QStringList, left);
        MainWindowFixture f;
        for (const QString& name : records) {
            f.add("[Credit Cards]", {{"Credit Card", name}});
        }
        frm_Main& main = f.show();
        for (int i = 0; i < moves; ++i) {
            QVERIFY(!main.dataControl(Category::Credit)->MoveNext());
        }
        const QString asked = f.text("sle_CreditCard");
        f.seam.queueAnswer(platform::Answer(answer));
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QTest::keyClick(&main, Qt::Key_Delete);
        QCOMPARE(f.seam.messages.size(), 1);
        QCOMPARE(f.seam.messages.first().text, "Are you sure you want to delete '" + asked + "'?");
        QCOMPARE(f.seam.messages.first().title, QStringLiteral("Corvanta"));
        QCOMPARE(f.seam.messages.first().flags, 292);
        QCOMPARE(f.text("sle_CreditCard"), shown);
        QCOMPARE(f.column("Select * From [Credit Cards] Order By [Credit Card]", "Credit Card"), left);
        if (left.isEmpty()) {
            // Nothing left to edit or delete: no dialog, no question, no error.
            main.menuItem("mnu_EditDelete")->trigger();
            main.menuItem("mnu_EditCurrent")->trigger();
            QCOMPARE(f.seam.messages.size(), 1);
            QVERIFY(f.dialogCalls.isEmpty());
        }
    }

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

    // What compaction keeps the engine's tests prove; here the question comes first, a failure is
    // told with the file kept, and the window shows the first records afterwards.
    void compressAsksFirstAndShowsTheFirstRecords()
    {
        MainWindowFixture f("pw");
        for (const char* site : {"Site 0", "Site 1", "Site 2"}) {
            f.add("[Web Accounts]", {{"Web Site", site}});
        }
        f.add("[Credit Cards]", {{"Credit Card", "Blue"}});
        f.add("[Credit Cards]", {{"Credit Card", "Amber"}});
        f.add("[Personal Information]", {{"Name", "Ann"}});
        frm_Main& main = f.show();
        main.showPage(Category::Web);
        QVERIFY(!main.dataControl(Category::Web)->Recordset()->MoveLast());
        const QDateTime written = QFileInfo(f.dataFile).lastModified();
        const int busy = f.seam.busyOn;
        main.menuItem("mnu_FileCompress")->trigger(); // answered No: nothing changes
        QCOMPARE(f.seam.messages.size(), 1);
        QCOMPARE(f.seam.messages[0].text, QString("Are you sure you want to compress that datafile?"));
        QCOMPARE(f.seam.messages[0].flags, 292);
        QCOMPARE(f.seam.busyOn, busy);
        QCOMPARE(QFileInfo(f.dataFile).lastModified(), written);
        for (const bool fails : {true, false}) {
            f.seam.queueAnswer(platform::Answer::Yes);
            std::optional<fixture::FailAt> ops;
            if (fails) {
                ops.emplace("rename");
            }
            main.menuItem("mnu_FileCompress")->trigger();
            ops.reset();
            QCOMPARE(f.seam.messages.size(), fails ? 3 : 4);
            QCOMPARE(QDir(f.dir.path()).entryList({"*Compact*", "*.tmp"}, QDir::Files), QStringList());
            QCOMPARE(f.text("sle_WebAccount"), QString("Site 0")); // attached again
            QVERIFY(gdb_Data && gdb_Data->IsOpen());
            QVERIFY(!f.seam.busy);
        }
        QVERIFY(f.seam.messages[2].text.startsWith("Error: "));
        QCOMPARE(f.seam.messages[2].title, QString("Corvanta Error"));
        QCOMPARE(f.text("sle_Name"), QString("Ann"));
        main.showPage(Category::Credit);
        QCOMPARE(f.text("sle_CreditCard"), QString("Amber"));
    }

    // Export asks first and never writes over the data file; a backup is an exact copy or
    // nothing. Both files are the owner's alone.
    void exportAndBackUpWritePrivateFiles()
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
        f.seam.queueAnswer(platform::Answer::Yes);
        f.seam.queueFile(f.dataFile);
        main.menuItem("mnu_FileExport")->trigger();
        QCOMPARE(f.seam.messages.last().text, QString("That is the data file itself. Choose another file."));
        f.seam.queueAnswer(platform::Answer::Yes);
        f.seam.queueFile(path);
        main.menuItem("mnu_FileExport")->trigger();
        QCOMPARE(f.seam.messages.last().text, "1 record exported to " + path + ".");
        QVERIFY(
            testsupport::readFile(path).contains("\r\nWeb,,,,,,,,,,,,,,,,,,Bank,,,,\"secret, \"\"quoted\"\"\"\r\n"));
        QCOMPARE(QFileInfo(path).permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner); // 0600

        const QString copy = f.dir.filePath("copy.cvd");
        f.seam.queueFile(copy);
        {
            fixture::FailAt ops("write");
            main.menuItem("mnu_FileBackUp")->trigger();
        }
        QVERIFY(f.seam.messages.last().text.startsWith("Error: "));
        QCOMPARE(QDir(f.dir.path()).entryList({"copy*"}, QDir::Files), QStringList());
        f.seam.queueFile(copy);
        main.menuItem("mnu_FileBackUp")->trigger();
        QCOMPARE(f.seam.messages.last().text, "The data file was backed up to " + copy + ".");
        QCOMPARE(testsupport::readFile(copy), testsupport::readFile(f.dataFile));
        QCOMPARE(QFileInfo(copy).permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(fixture::open(copy, "pw"));
        const int said = f.seam.messages.size();
        main.menuItem("mnu_FileBackUp")->trigger(); // cancelled: nothing shown
        QCOMPARE(f.seam.fileChoosers.size(), 5);
        QCOMPARE(f.seam.messages.size(), said);
        QVERIFY(!f.seam.busy);
    }

    void findShowsTheChosenRecord_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("keys"); // after typing, in the Find window
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("shown"); // the web account's name box; empty: nothing moved
        QTest::addColumn<bool>("many");
        QTest::newRow("a card by its holder")
            << "holder" << QList<int>{Qt::Key_Down, Qt::Key_Return} << 0 << "Alpha" << false;
        QTest::newRow("typed while many records are read")
            << "user" << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return} << 2 << "Gamma" << true;
    }

    void findShowsTheChosenRecord()
    {
        QFETCH(QString, typed);
        QFETCH(QList<int>, keys);
        QFETCH(int, page);
        QFETCH(QString, shown);
        QFETCH(bool, many);
        MainWindowFixture f;
        if (many) {
            addMany(f);
        }
        f.add("[Web Accounts]", {{"Web Site", "Alpha"}, {"Login", "nobody"}});
        f.add("[Web Accounts]", {{"Web Site", "Beta"}, {"Login", "user.b"}, {"Password", "user-secret"}});
        f.add("[Web Accounts]", {{"Web Site", "Gamma"}, {"Login", "USER.g"}});
        f.add("[Credit Cards]", {{"Credit Card", "Alpha"}, {"Account Name", "Card Holder"}});
        frm_Main& main = f.show();
        main.showPage(Category::Credit);
        f.seam.queueScript([&](QDialog* dialog) {
            QApplication::setActiveWindow(dialog);
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            // The box has the focus: the window is used from the keyboard alone.
            auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            QVERIFY2(box != nullptr,
                     QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "none");
            QCOMPARE(qobject_cast<frm_Find*>(dialog)->reading(), many);
            QTest::keyClicks(box, typed);
            QTRY_VERIFY(!qobject_cast<frm_Find*>(dialog)->reading());
            for (const int key : keys) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            }
        });
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QTest::keyClick(&main, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(f.seam.modalDialogs, QStringList{"frm_Find"});
        QCOMPARE(f.seam.leftOpen, 0);
        QCOMPARE(main.findChild<QTabWidget*>("tp_Data")->currentIndex(), page);
        QCOMPARE(main.nameBox(page == 0 ? Category::Credit : Category::Web)->text(), shown);
    }

    void copyKeysTakeTheValueOfThePageInFront_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("shift"); // Ctrl+Shift+C, else Ctrl+B
        QTest::addColumn<QString>("copied");
        QTest::addColumn<bool>("secret");
        QTest::newRow("card number") << "Credit" << true << "4111111111111111" << true;
        QTest::newRow("PIN") << "Travel" << true << "2468" << true;
        QTest::newRow("the web login, from any page") << "Travel" << false << "jo@x.com" << false;
    }

    void copyKeysTakeTheValueOfThePageInFront()
    {
        QFETCH(QString, page);
        QFETCH(bool, shift);
        QFETCH(QString, copied);
        QFETCH(bool, secret);
        MainWindowFixture f;
        f.add("[Web Accounts]", {{"Web Site", "Site"}, {"Login", "jo@x.com"}, {"Password", "pw 1&<x>"}});
        f.add("[Credit Cards]", {{"Credit Card", "Card"}, {"Account Number", "4111111111111111"}});
        f.add("[Travel Programs]", {{"Travel Program", "Miles"}, {"PIN Number", "2468"}});
        frm_Main& main = f.show();
        main.showPage(categories::named(page)->kind);
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(&main, shift ? Qt::Key_C : Qt::Key_B,
                        Qt::ControlModifier | (shift ? Qt::ShiftModifier : Qt::NoModifier));
        QCOMPARE(QGuiApplication::clipboard()->text(), copied);
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->hasFormat(SecretClipboard::kHintFormat), secret);

        // Locked, the program leaves nothing to copy.
        main.wf_LockData();
        QTest::keyClick(&main, Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(f.seam.beeps, 1);
    }

    void reportRowLeadsToItsRecord_data()
    {
        QTest::addColumn<bool>("many");
        QTest::newRow("a few records") << false;
        QTest::newRow("many records, read in steps") << true;
    }

    void reportRowLeadsToItsRecord()
    {
        QFETCH(bool, many);
        MainWindowFixture f;
        if (many) {
            addMany(f);
        }
        f.add("[Web Accounts]", {{"Web Site", "Alpha"}, {"Password", "a long and lonely password"}});
        f.add("[Web Accounts]", {{"Web Site", "Beta"}, {"Password", "short"}});
        f.add("[Credit Cards]", {{"Credit Card", "Old Card"}, {"Expiration Date", "0120"}});
        frm_Main& main = f.show();
        QStringList rows;
        f.seam.queueScript([&](QDialog* dialog) {
            QTRY_VERIFY(!qobject_cast<frm_PasswordReport*>(dialog)->reading());
            auto* list = dialog->findChild<QListView*>(QStringLiteral("lv_ReportRows"));
            for (int row = 0; row < list->model()->rowCount(); ++row) {
                rows << list->model()->index(row, 0).data().toString();
            }
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_Return);
        });
        main.menuItem("mnu_ViewPasswordReport")->trigger();
        QCOMPARE(rows, QStringList(
                           {"Beta - Web Accounts: short password (5 characters)", "Old Card - Credit Cards: expired"}));
        QCOMPARE(main.findChild<QTabWidget*>("tp_Data")->currentIndex(), 0);
        QCOMPARE(main.nameBox(Category::Credit)->text(), QStringLiteral("Old Card"));
    }
};

QTEST_MAIN(tst_MainCommands)
#include "tst_MainCommands.moc"
