#include "DataControl.h"
#include "General.h"
#include "MainCommands.h"
#include "MainWindowFixture.h"
#include "Platform.h"
#include "SettingsStore.h"
#include "WindowTasks.h"

#include <QAction>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

namespace {

const QString kCards = QStringLiteral("[Credit Cards]");
const QString kPrograms = QStringLiteral("[Travel Programs]");
const QString kWebAccounts = QStringLiteral("[Web Accounts]");

int page(frm_Main& main)
{
    return main.findChild<QTabWidget*>(QStringLiteral("tp_Data"))->currentIndex();
}

} // namespace

class tst_MainCommands : public QObject
{
    Q_OBJECT

private slots:
    void createSwitchesToItsPageAndShowsTheNewRecord_data();
    void createSwitchesToItsPageAndShowsTheNewRecord();
    void editKeepsTheEditedRecordOnScreen();
    void deleteAsksByNameAndNoKeepsTheRecord();
    void deleteShowsTheNextOrThePreviousRecord_data();
    void deleteShowsTheNextOrThePreviousRecord();
    void editPersonalReloadsTheFrame();
    void dialogsAreNotCoveredByAWindowOnTop_data();
    void dialogsAreNotCoveredByAWindowOnTop();
    void documentsOpenOrTellTheyAreMissing_data();
    void documentsOpenOrTellTheyAreMissing();
    void engineFailureIsReported();
};

void tst_MainCommands::createSwitchesToItsPageAndShowsTheNewRecord_data()
{
    QTest::addColumn<int>("key"); // with Ctrl
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("nameBox");
    QTest::addColumn<bool>("saved");
    QTest::newRow("credit") << int(Qt::Key_A) << kCards << 0 << "sle_CreditCard" << true;
    QTest::newRow("travel") << int(Qt::Key_T) << kPrograms << 1 << "sle_TravelProgram" << true;
    QTest::newRow("web") << int(Qt::Key_W) << kWebAccounts << 2 << "sle_WebAccount" << true;
    // A cancelled create switches the page all the same.
    QTest::newRow("credit cancelled") << int(Qt::Key_A) << kCards << 0 << "sle_CreditCard" << false;
}

void tst_MainCommands::createSwitchesToItsPageAndShowsTheNewRecord()
{
    QFETCH(int, key);
    QFETCH(QString, table);
    QFETCH(int, page);
    QFETCH(QString, nameBox);
    QFETCH(bool, saved);
    MainWindowFixture f;
    const QString nameField = table == kCards ? "Credit Card" : table == kPrograms ? "Travel Program" : "Web Site";
    f.add(table, {{nameField, "Alpha"}});
    f.add(table, {{nameField, "Zulu"}});
    frm_Main& main = f.show();
    main.showPage(page == 2 ? QStringLiteral("Credit") : QStringLiteral("Web"));
    f.queueDialog(saved ? MainWindowFixture::saveName(QStringLiteral("Mike")) : MainWindowFixture::cancel());
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key(key), Qt::ControlModifier);

    QCOMPARE(f.dialogCalls.size(), 1);
    QCOMPARE(f.dialogCalls.first().recordIdIn, QStringLiteral("0"));
    QCOMPARE(::page(main), page);
    QCOMPARE(f.text(nameBox.toLatin1().constData()), saved ? QStringLiteral("Mike") : QStringLiteral("Alpha"));
    QCOMPARE(main.istr_RecordID, saved ? QStringLiteral("3") : QStringLiteral("1"));
    QVERIFY(f.seam.messages.isEmpty());
}

void tst_MainCommands::editKeepsTheEditedRecordOnScreen()
{
    MainWindowFixture f;
    f.add(kWebAccounts, {{"Web Site", "Alpha"}});
    const qint64 id = f.add(kWebAccounts, {{"Web Site", "Bravo"}});
    f.add(kWebAccounts, {{"Web Site", "Charlie"}});
    frm_Main& main = f.show();
    main.showPage(QStringLiteral("Web"));
    QVERIFY(!main.dataControl(QStringLiteral("Web"))->MoveNext());
    f.queueDialog(MainWindowFixture::saveName(QStringLiteral("Zebra")));
    main.menuItem("mnu_EditCurrent")->trigger();
    QCOMPARE(f.dialogCalls.first().category, QStringLiteral("Web"));
    QCOMPARE(f.dialogCalls.first().recordIdIn, QString::number(id));
    // Renamed to the end of the order, and still the one shown.
    QCOMPARE(f.text("sle_WebAccount"), QStringLiteral("Zebra"));
    QCOMPARE(f.text("sle_WebSiteID"), QString::number(id));
}

void tst_MainCommands::deleteAsksByNameAndNoKeepsTheRecord()
{
    MainWindowFixture f;
    f.add(kPrograms, {{"Travel Program", "O'Hare Club"}});
    frm_Main& main = f.show();
    main.showPage(QStringLiteral("Travel"));
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key_Delete);
    QCOMPARE(f.seam.messages.size(), 1);
    QCOMPARE(f.seam.messages.first().text, QStringLiteral("Are you sure you want to delete 'O'Hare Club'?"));
    QCOMPARE(f.seam.messages.first().title, QStringLiteral("Corvanta"));
    QCOMPARE(f.seam.messages.first().flags, 292);
    QCOMPARE(f.text("sle_TravelProgram"), QStringLiteral("O'Hare Club"));
    QCOMPARE(f.column(QStringLiteral("Select * From [Travel Programs]"), QStringLiteral("Travel Program")).size(), 1);
}

void tst_MainCommands::deleteShowsTheNextOrThePreviousRecord_data()
{
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<int>("moves");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("left");
    const QStringList abc{"A", "B", "C"};
    QTest::newRow("first shows next") << abc << 0 << "B" << QStringList{"B", "C"};
    QTest::newRow("middle shows next") << abc << 1 << "C" << QStringList{"A", "C"};
    QTest::newRow("last shows previous") << abc << 2 << "B" << QStringList{"A", "B"};
    QTest::newRow("only record leaves an empty list") << QStringList{"A"} << 0 << "" << QStringList{};
}

void tst_MainCommands::deleteShowsTheNextOrThePreviousRecord()
{
    QFETCH(QStringList, records);
    QFETCH(int, moves);
    QFETCH(QString, shown);
    QFETCH(QStringList, left);
    MainWindowFixture f;
    for (const QString& name : records) {
        f.add(kCards, {{"Credit Card", name}});
    }
    frm_Main& main = f.show();
    for (int i = 0; i < moves; ++i) {
        QVERIFY(!main.dataControl(QStringLiteral("Credit"))->MoveNext());
    }
    f.seam.queueAnswer(platform::vbYes);
    main.menuItem("mnu_EditDelete")->trigger();
    QCOMPARE(f.text("sle_CreditCard"), shown);
    QCOMPARE(
        f.column(QStringLiteral("Select * From [Credit Cards] Order By [Credit Card]"), QStringLiteral("Credit Card")),
        left);
    QCOMPARE(f.seam.messages.size(), 1);
    if (left.isEmpty()) {
        // Nothing left to edit or delete: no dialog, no question, no error.
        QVERIFY(main.dataControl(QStringLiteral("Credit"))->Bof());
        main.menuItem("mnu_EditDelete")->trigger();
        main.menuItem("mnu_EditCurrent")->trigger();
        QCOMPARE(f.seam.messages.size(), 1);
        QVERIFY(f.dialogCalls.isEmpty());
    }
}

void tst_MainCommands::editPersonalReloadsTheFrame()
{
    MainWindowFixture f;
    f.add(QStringLiteral("[Personal Information]"), {{"Name", "Ann"}});
    frm_Main& main = f.show();
    main.istr_RecordID = QStringLiteral("7");
    f.queueDialog([](const QString& category, QString&) {
        return category == QLatin1String("Personal") &&
               !gdb_Data->Execute(QStringLiteral("UPDATE [Personal Information] SET [Name] = 'Ann Lee'"));
    });
    main.menuItem("mnu_EditPersonal")->trigger();
    QCOMPARE(f.text("sle_Name"), QStringLiteral("Ann Lee"));
    QCOMPARE(main.istr_RecordID, QStringLiteral("7"));
}

void tst_MainCommands::dialogsAreNotCoveredByAWindowOnTop_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("onTop");
    for (const char* command : {"mnu_EditCreateCredit", "mnu_EditCreateTravel", "mnu_EditCreateWeb", "mnu_EditCurrent",
                                "mnu_EditPersonal", "mnu_HelpAbout"}) {
        QTest::addRow("%s on top", command) << command << true;
        QTest::addRow("%s normal", command) << command << false;
    }
}

void tst_MainCommands::dialogsAreNotCoveredByAWindowOnTop()
{
    QFETCH(QString, command);
    QFETCH(bool, onTop);
    MainWindowFixture f;
    f.add(kCards, {{"Credit Card", "Visa"}});
    QVERIFY(platform::SaveSetting(QStringLiteral("Corvanta"), QStringLiteral("Settings"), QStringLiteral("AlwaysOnTop"),
                                  onTop ? QStringLiteral("1") : QStringLiteral("0")));
    frm_Main& main = f.show();
    QCOMPARE(window_tasks::IsTopMost(&main), onTop);
    bool topMostDuringAbout = true;
    f.seam.queueScript([&](QDialog*) { topMostDuringAbout = window_tasks::IsTopMost(&main); });
    main.menuItem(command.toLatin1().constData())->trigger();

    if (command == QLatin1String("mnu_HelpAbout")) {
        QCOMPARE(f.seam.modalDialogs, QStringList{QStringLiteral("frm_About")});
        QVERIFY(!topMostDuringAbout);
    } else {
        QCOMPARE(f.dialogCalls.size(), 1);
        QVERIFY(!f.dialogCalls.first().topMostWhileOpen);
    }
    QCOMPARE(window_tasks::IsTopMost(&main), onTop);
}

void tst_MainCommands::documentsOpenOrTellTheyAreMissing_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QStringList>("openers"); // the types the desktop has a program for
    QTest::addColumn<QString>("shown");       // the file opened, or "window" for the program's own
    const QString guide = "mnu_HelpDOCFile", lost = "The help file cannot be found.";
    QTest::newRow("guide, word processor")
        << guide << "Corvanta.doc" << lost << QStringList{"application/msword", "text/html"} << "Corvanta.doc";
    QTest::newRow("guide, browser only") << guide << "Corvanta.doc" << lost << QStringList{"text/html"}
                                         << "Corvanta.html";
    QTest::newRow("guide, neither") << guide << "Corvanta.doc" << lost << QStringList{} << "window";
    QTest::newRow("readme") << "mnu_HelpReadme"
                            << "Readme.txt"
                            << "The readme file cannot be found." << QStringList{"text/plain"} << "Readme.txt";
    QTest::newRow("licence, no text program") << "mnu_HelpLicense"
                                              << "License.txt"
                                              << "The license file cannot be found." << QStringList{} << "window";
}

void tst_MainCommands::documentsOpenOrTellTheyAreMissing()
{
    QFETCH(QString, command);
    QFETCH(QString, file);
    QFETCH(QString, missing);
    QFETCH(QStringList, openers);
    QFETCH(QString, shown);
    MainWindowFixture f;
    frm_Main& main = f.show();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    platform::setOpenerLookup([&](const QString& type) { return openers.contains(type); });
    const auto trigger = [&] { main.menuItem(command.toLatin1().constData())->trigger(); };

    trigger();
    QCOMPARE(f.seam.messages.size(), 1);
    QCOMPARE(f.seam.messages.first().text, missing);
    QCOMPARE(f.seam.messages.first().title, QStringLiteral("Corvanta Error"));
    QCOMPARE(f.seam.messages.first().flags, 64);
    QVERIFY(catcher.opened.isEmpty());

    // A folder of that name is no document either.
    QVERIFY(QDir(f.dir.path()).mkdir(file));
    trigger();
    QCOMPARE(f.seam.messages.size(), 2);
    QVERIFY(QDir(f.dir.path()).rmdir(file));

    for (const QString& name : {file, QStringLiteral("Corvanta.html")}) {
        QFile document(f.dir.filePath(name));
        QVERIFY(document.open(QIODevice::WriteOnly));
        document.write("<html><head><title>The Guide</title></head><body>Read me</body></html>");
    }
    trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    platform::setOpenerLookup({});
    QCOMPARE(f.seam.messages.size(), 2);
    auto* window = main.findChild<QWidget*>(QStringLiteral("frm_Document"));
    if (shown == QLatin1String("window")) {
        QVERIFY(catcher.opened.isEmpty());
        QVERIFY(window && window->isVisible());
        QVERIFY(window->findChild<QTextBrowser*>()->toPlainText().contains(QStringLiteral("Read me")));
    } else {
        QCOMPARE(catcher.opened, QList<QUrl>{QUrl::fromLocalFile(f.dir.filePath(shown))});
        QVERIFY(!window);
    }
}

void tst_MainCommands::engineFailureIsReported()
{
    MainWindowFixture f;
    f.add(kCards, {{"Credit Card", "Visa"}});
    frm_Main& main = f.show();
    // The data file is gone from under the window (as while another program held it).
    gdb_Data->Close();
    f.queueDialog(MainWindowFixture::cancel());
    main.menuItem("mnu_EditCreateWeb")->trigger();
    QCOMPARE(page(main), 2);
    QCOMPARE(f.seam.messages.size(), 1);
    QVERIFY(f.seam.messages.first().text.startsWith(QStringLiteral("Error: ")));
    QVERIFY(f.seam.messages.first().text.endsWith(QStringLiteral("]")));
    QCOMPARE(f.seam.messages.first().title, QStringLiteral("Corvanta Error"));
}

QTEST_MAIN(tst_MainCommands)
#include "tst_MainCommands.moc"
