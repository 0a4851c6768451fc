#include "DataControl.h"
#include "General.h"
#include "MainCommands.h"
#include "MainWindowFixture.h"
#include "Platform.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "WindowTasks.h"

#include <QAction>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

using testsupport::row;

namespace {

int page(frm_Main& main)
{
    return main.findChild<QTabWidget*>("tp_Data")->currentIndex();
}

} // namespace

class tst_MainCommands : public QObject
{
    Q_OBJECT

private slots:
    void createSwitchesToItsPageAndShowsTheNewRecord_data()
    {
        QTest::addColumn<int>("key"); // with Ctrl
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("nameField");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("saved");
        const auto row = [](const char* name, Qt::Key key, const char* table, const char* field, int page, bool saved) {
            QTest::newRow(name) << int(key) << QString(table) << QString(field) << page << saved;
        };
        row("credit", Qt::Key_A, "[Credit Cards]", "Credit Card", 0, true);
        row("travel", Qt::Key_T, "[Travel Programs]", "Travel Program", 1, true);
        row("web", Qt::Key_W, "[Web Accounts]", "Web Site", 2, true);
        // A cancelled create switches the page all the same.
        row("credit cancelled", Qt::Key_A, "[Credit Cards]", "Credit Card", 0, false);
    }
    void createSwitchesToItsPageAndShowsTheNewRecord()
    {
        QFETCH(int, key);
        QFETCH(QString, table);
        QFETCH(QString, nameField);
        QFETCH(int, page);
        QFETCH(bool, saved);
        MainWindowFixture f;
        f.add(table, {{nameField, "Alpha"}});
        f.add(table, {{nameField, "Zulu"}});
        frm_Main& main = f.show();
        main.showPage(page == 2 ? Category::Credit : Category::Web);
        f.queueDialog(saved ? MainWindowFixture::saveName("Mike") : MainWindowFixture::cancel());
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QTest::keyClick(&main, Qt::Key(key), Qt::ControlModifier);

        QCOMPARE(f.dialogCalls.size(), 1);
        QCOMPARE(f.dialogCalls.first().recordIdIn, QStringLiteral("0"));
        QCOMPARE(::page(main), page);
        const char* nameBox[] = {"sle_CreditCard", "sle_TravelProgram", "sle_WebAccount"};
        QCOMPARE(f.text(nameBox[page]), saved ? QStringLiteral("Mike") : QStringLiteral("Alpha"));
        QCOMPARE(main.istr_RecordID, saved ? QStringLiteral("3") : QStringLiteral("1"));
        QVERIFY(f.seam.messages.isEmpty());
    }

    void editKeepsTheEditedRecordOnScreen()
    {
        MainWindowFixture f;
        f.add("[Web Accounts]", {{"Web Site", "Alpha"}});
        const qint64 id = f.add("[Web Accounts]", {{"Web Site", "Bravo"}});
        f.add("[Web Accounts]", {{"Web Site", "Charlie"}});
        frm_Main& main = f.show();
        main.showPage(Category::Web);
        QVERIFY(!main.dataControl(Category::Web)->MoveNext());
        f.queueDialog(MainWindowFixture::saveName("Zebra"));
        main.menuItem("mnu_EditCurrent")->trigger();
        QCOMPARE(f.dialogCalls.first().category, QStringLiteral("Web"));
        QCOMPARE(f.dialogCalls.first().recordIdIn, QString::number(id));
        // Renamed to the end of the order, and still the one shown.
        QCOMPARE(f.text("sle_WebAccount"), QStringLiteral("Zebra"));
        QCOMPARE(f.text("sle_WebSiteID"), QString::number(id));
    }

    void deleteAsksByNameThenShowsTheNextOrThePrevious_data()
    {
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<int>("moves");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("left");
        const QStringList abc{"A", "B", "O'Hare"};
        row("answered No", abc, 2, platform::vbNo, "O'Hare", abc);
        row("first shows next", abc, 0, platform::vbYes, "B", QStringList{"B", "O'Hare"});
        row("middle shows next", abc, 1, platform::vbYes, "O'Hare", QStringList{"A", "O'Hare"});
        row("last shows previous", abc, 2, platform::vbYes, "B", QStringList{"A", "B"});
        row("only record", QStringList{"A"}, 0, platform::vbYes, "", QStringList{});
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
        f.seam.queueAnswer(answer);
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

    // Which program shows a document: the desktop's for its type, a browser for the web copy of the
    // guide, else the program's own window. A missing document is told in the real-window test.
    void documentsOpenWhereTheDesktopCan_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("openers"); // the types the desktop has a program for
        QTest::addColumn<QString>("shown");       // the file opened, or "window" for the program's own
        const char* guide = "mnu_HelpDOCFile";
        row("guide, word processor", guide, "Corvanta.doc", QStringList{"application/msword", "text/html"},
            "Corvanta.doc");
        row("guide, browser only", guide, "Corvanta.doc", QStringList{"text/html"}, "Corvanta.html");
        row("guide, neither", guide, "Corvanta.doc", QStringList{}, "window");
        row("licence", "mnu_HelpLicense", "License.txt", QStringList{}, "window");
    }
    void documentsOpenWhereTheDesktopCan()
    {
        QFETCH(QString, command);
        QFETCH(QString, file);
        QFETCH(QStringList, openers);
        QFETCH(QString, shown);
        MainWindowFixture f;
        frm_Main& main = f.show();
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("file", &catcher, "open");
        platform::setOpenerLookup([&](const QString& type) { return openers.contains(type); });
        for (const QString& name : {file, QStringLiteral("Corvanta.html")}) {
            QFile document(f.dir.filePath(name));
            QVERIFY(document.open(QIODevice::WriteOnly));
            document.write("<html><head><title>The Guide</title></head><body>Read me</body></html>");
        }
        main.menuItem(command.toLatin1().constData())->trigger();
        QDesktopServices::unsetUrlHandler("file");
        platform::setOpenerLookup({});
        QVERIFY(f.seam.messages.isEmpty());
        auto* window = main.findChild<QWidget*>("frm_Document");
        if (shown == QLatin1String("window")) {
            QVERIFY(catcher.opened.isEmpty());
            QVERIFY(window && window->isVisible());
            QVERIFY(window->findChild<QTextBrowser*>()->toPlainText().contains("Read me"));
        } else {
            QCOMPARE(catcher.opened, QList<QUrl>{QUrl::fromLocalFile(f.dir.filePath(shown))});
            QVERIFY(!window);
        }
    }

    void engineFailureIsReported()
    {
        MainWindowFixture f;
        f.add("[Credit Cards]", {{"Credit Card", "Visa"}});
        frm_Main& main = f.show();
        gdb_Data->Close(); // the data file is gone from under the window
        f.queueDialog(MainWindowFixture::cancel());
        main.menuItem("mnu_EditCreateWeb")->trigger();
        QCOMPARE(page(main), 2);
        QCOMPARE(f.seam.messages.size(), 1);
        QVERIFY(f.seam.messages.first().text.startsWith("Error: "));
        QVERIFY(f.seam.messages.first().text.endsWith("]"));
        QCOMPARE(f.seam.messages.first().title, QStringLiteral("Corvanta Error"));
    }
};

QTEST_MAIN(tst_MainCommands)
#include "tst_MainCommands.moc"
