#include "DataControl.h"
#include "General.h"
#include "MainCommands.h"
#include "MainWindowFixture.h"
#include "SettingsStore.h"
#include "WindowTasks.h"

#include <QAction>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

QStringList itemNames(const QList<QAction*>& items)
{
    QStringList names;
    for (const QAction* item : items) {
        names << (item->menu() != nullptr ? item->menu()->objectName() : item->objectName());
    }
    return names;
}

QString stored(const QString& key)
{
    QSettings store(platform::settingsFilePath(QStringLiteral("Corvanta")), QSettings::IniFormat);
    return store.value(QStringLiteral("Settings/") + key, QStringLiteral("<absent>")).toString();
}

void click(DataControl* view, const char* button)
{
    QTest::mouseClick(view->findChild<QToolButton*>(QString::fromLatin1(button)), Qt::LeftButton);
}

// A dialog that only hides after use, as the change-password dialog does.
class KeptDialog : public QDialog
{
public:
    bool closedBeforeSettings = false;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        closedBeforeSettings = stored(QStringLiteral("SplashScreen")) == QLatin1String("<absent>");
        QDialog::closeEvent(event);
    }
};

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void menuItems_data();
    void menuItems();
    void menusHoldTheirItemsInOrder_data();
    void menusHoldTheirItemsInOrder();
    void toolbarHasTwelveButtonsInFourGroups();
    void toolbarDispatchesByExactKey_data();
    void toolbarDispatchesByExactKey();
    void windowShowsPersonalFrameAndThreePages();
    void personalFieldWithoutValueKeepsItsText();
    void pagesListRecordsInNameOrderAndNavigate();
    void emptyListShowsNothingAndCannotMove();
    void setUpOfOneCategoryLeavesTheOthers();
    void resetLetsGoOfTheFileAndShowsNothing();
    void displayedFormattingIsNeverWrittenBack();
    void lockItemNeedsAPassword_data();
    void lockItemNeedsAPassword();
    void settingsAreAppliedAtLoad();
    void unloadWritesSettings_data();
    void unloadWritesSettings();
    void minimisedUnloadKeepsStoredPosition();
    void unloadClosesOtherWindowsFirstAndEndsTheProgram();
};

void tst_MainWindow::menuItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("enabled");

    auto row = [](const char* name, const char* caption, const char* shortcut = "", bool checkable = false,
                  bool visible = true, bool enabled = true) {
        QTest::newRow(name) << name << caption << shortcut << checkable << visible << enabled;
    };
    row("mnu_FileCompress", "&Compress Datafile");
    row("mnu_FileSetPassword", "Set &Password...");
    row("mnu_FileImport", "&Import...");
    row("mnu_FileExport", "&Export...");
    row("mnu_FileBackUp", "&Back Up Data File...");
    row("mnu_FileExit", "E&xit");
    row("mnu_EditPersonal", "&Edit Personal Information...");
    row("mnu_EditCreateCredit", "Create &Credit Card...", "Ctrl+A");
    row("mnu_EditCreateTravel", "Create &Travel Program...", "Ctrl+T");
    row("mnu_EditCreateWeb", "Create &Web Account...", "Ctrl+W");
    row("mnu_EditCurrent", "Edit Current &Item...");
    row("mnu_EditDelete", "&Delete Current Item", "Del");
    // The data file of these tests has no password: nothing to lock with.
    row("mnu_ViewLock", "&Lock on Minimize", "", true, true, false);
    row("mnu_ViewSplashScreen", "&Splash Screen", "", true);
    row("mnu_ViewAlwaysOnTop", "&Always On Top", "", true);
    row("mnu_ViewPasswords", "&Mask Passwords", "", true);
    // Hidden items can never be chosen.
    row("mnu_HelpContents", "&Contents...", "", false, false, false);
    row("mnu_HelpSearchForHelpOn", "&Search For Help On...", "", false, false, false);
    row("mnu_HelpDOCFile", "View &Help DOC File");
    row("mnu_HelpReadme", "View &Readme File");
    row("mnu_HelpLicense", "View &License File");
    row("mnu_HelpAbout", "&About Corvanta");
    row("mnu_Empty1", "           ", "", false, true, false);
    row("mnu_Vanish", "<Vanish>");
    row("mnu_SysTrayTitle", "Corvanta");
    row("mnu_SysTrayCreateCredit", "Create Credit Card");
    row("mnu_SysTrayCreateTravel", "Create Travel Program");
    row("mnu_SysTrayCreateWeb", "Create Web Account");
    row("mnu_SysTrayExit", "Exit");
    row("mnu_SysTrayRestore", "Restore");
}

void tst_MainWindow::menuItems()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(bool, checkable);
    QFETCH(bool, visible);
    QFETCH(bool, enabled);
    MainWindowFixture f;
    frm_Main& main = f.show();
    const QAction* item = main.findChild<QAction*>(name);
    QVERIFY(item != nullptr);
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut(), QKeySequence(shortcut));
    QCOMPARE(item->isCheckable(), checkable);
    QCOMPARE(item->isVisible(), visible);
    QCOMPARE(item->isEnabled(), enabled);
}

void tst_MainWindow::menusHoldTheirItemsInOrder_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("File") << "mnu_File"
                          << "&File"
                          << QStringList{"mnu_FileCompress", "mnu_FileSetPassword", "mnu_FileBar0", "mnu_FileImport",
                                         "mnu_FileExport",   "mnu_FileBackUp",      "mnu_FileBar1", "mnu_FileExit"};
    QTest::newRow("Edit") << "mnu_Edit"
                          << "&Edit" << QStringList{"mnu_EditPersonal",     "mnu_EditBar0",      "mnu_EditCreateCredit",
                                                    "mnu_EditCreateTravel", "mnu_EditCreateWeb", "mnu_EditBar1",
                                                    "mnu_EditCurrent",      "mnu_EditDelete"};
    QTest::newRow("View") << "mnu_View"
                          << "&View"
                          << QStringList{"mnu_ViewLock", "mnu_ViewSplashScreen", "mnu_ViewAlwaysOnTop",
                                         "mnu_ViewPasswords", "mnu_ViewLockIdle"};
    QTest::newRow("Help") << "mnu_Help"
                          << "&Help" << QStringList{"mnu_HelpContents", "mnu_HelpSearchForHelpOn", "mnu_HelpDOCFile",
                                                    "mnu_HelpReadme",   "mnu_HelpLicense",         "mnu_HelpBar0",
                                                    "mnu_HelpAbout"};
    QTest::newRow("tray") << "mnu_SysTray"
                          << "Systray Menu"
                          << QStringList{"mnu_SysTrayTitle",        "mnu_SysTrayBar0",      "mnu_SysTrayCreateCredit",
                                         "mnu_SysTrayCreateTravel", "mnu_SysTrayCreateWeb", "mnu_SysTrayBar1",
                                         "mnu_SysTrayExit",         "mnu_SysTrayBar2",      "mnu_SysTrayRestore"};
}

void tst_MainWindow::menusHoldTheirItemsInOrder()
{
    QFETCH(QString, menu);
    QFETCH(QString, caption);
    QFETCH(QStringList, items);
    MainWindowFixture f;
    frm_Main& main = f.show();
    const QMenu* found = main.findChild<QMenu*>(menu);
    QVERIFY(found != nullptr);
    QCOMPARE(found->title(), caption);
    QCOMPARE(itemNames(found->actions()), items);

    // The bar: the four menus, the blank that keeps <Vanish> apart, <Vanish> itself; the tray
    // menu is there but never shown or offered.
    const QMenuBar* bar = main.menuBar();
    QStringList shown;
    for (QAction* item : bar->actions()) {
        if (item->isVisible()) {
            shown << itemNames({item});
        }
    }
    QCOMPARE(shown, (QStringList{"mnu_File", "mnu_Edit", "mnu_View", "mnu_Help", "mnu_Empty1", "mnu_Vanish"}));
    const QMenu* tray = main.findChild<QMenu*>(QStringLiteral("mnu_SysTray"));
    QVERIFY(!tray->menuAction()->isVisible());
    QVERIFY(!tray->menuAction()->isEnabled());
}

void tst_MainWindow::toolbarHasTwelveButtonsInFourGroups()
{
    MainWindowFixture f;
    frm_Main& main = f.show();
    const QToolBar* bar = main.findChild<QToolBar*>(QStringLiteral("tb_ToolBar"));
    QVERIFY(bar != nullptr);
    QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    QStringList keys;
    QStringList tips;
    for (QAction* button : bar->actions()) {
        keys << (button->isSeparator() ? QStringLiteral("|") : button->data().toString());
        if (!button->isSeparator()) {
            tips << button->toolTip();
        }
    }
    QCOMPARE(keys, (QStringList{"Password", "|", "Personal", "|", "Credit", "Travel", "Web", "|", "Edit", "Delete", "|",
                                "Exit"}));
    QCOMPARE(tips, (QStringList{"Set Password", "Personal Information", "New Credit Card", "New Travel Program",
                                "New Web Account", "Edit Current Item", "Delete Current Item", "Exit"}));
}

void tst_MainWindow::toolbarDispatchesByExactKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<int>("ended");
    const auto row = [](const char* key, const char* dialog, int ended) {
        QTest::newRow(*key != 0 ? key : "empty") << QString(key) << QString(dialog) << ended;
    };
    row("Credit", "Credit", 0);
    row("Travel", "Travel", 0);
    row("Web", "Web", 0);
    row("Personal", "Personal", 0);
    row("Exit", "", 1);
    row("credit", "", 0); // wrong case
    row("Nothing", "", 0);
    row("", "", 0);
}

void tst_MainWindow::toolbarDispatchesByExactKey()
{
    QFETCH(QString, key);
    QFETCH(QString, dialog);
    QFETCH(int, ended);
    MainWindowFixture f;
    frm_Main& main = f.show();
    main.commands().tb_ToolBar_ButtonClick(key);
    QCOMPARE(f.dialogCalls.isEmpty() ? QString() : f.dialogCalls.first().category, dialog);
    QCOMPARE(f.programEnded, ended);
}

void tst_MainWindow::windowShowsPersonalFrameAndThreePages()
{
    MainWindowFixture f;
    f.add(QStringLiteral("[Personal Information]"),
          {{"Name", "Ann Lee"}, {"City", "Springfield"}, {"Phone Number", "8005551234"}, {"State", "IL"}});
    frm_Main& main = f.show();
    QCOMPARE(main.windowTitle(), QStringLiteral(" Corvanta"));
    QVERIFY(!(main.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(main.windowFlags() & Qt::WindowMaximizeButtonHint));
    const auto* tabs = main.findChild<QTabWidget*>(QStringLiteral("tp_Data"));
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Credit Cards"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Travel Programs"));
    QCOMPARE(tabs->tabText(2), QStringLiteral("Web Accounts"));
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(f.text("sle_Name"), QStringLiteral("Ann Lee"));
    QCOMPARE(f.text("sle_City"), QStringLiteral("Springfield"));
    QCOMPARE(f.text("sle_State"), QStringLiteral("IL"));
    QCOMPARE(f.text("sle_PhoneNumber"), QStringLiteral("(800) 555-1234"));
    QCOMPARE(f.text("sle_Address"), QString());
    QVERIFY(!main.findChild<QWidget*>(QStringLiteral("cb_TrayIcon"))->isVisible());
    QVERIFY(window_tasks::HasTrayIcon());
}

void tst_MainWindow::personalFieldWithoutValueKeepsItsText()
{
    MainWindowFixture f;
    const qint64 id = f.add(QStringLiteral("[Personal Information]"), {{"Name", "Ann"}, {"City", "Paris"}});
    frm_Main& main = f.show();
    QCOMPARE(f.text("sle_City"), QStringLiteral("Paris"));
    QVERIFY(!gdb_Data->Execute(QStringLiteral("UPDATE [Personal Information] SET [City] = NULL, [Name] = 'Bo' "
                                              "WHERE [Personal Information ID] = ") +
                               QString::number(id)));
    QVERIFY(main.wf_PersonalInformation(&main));
    QCOMPARE(f.text("sle_Name"), QStringLiteral("Bo"));
    QCOMPARE(f.text("sle_City"), QStringLiteral("Paris"));
}

void tst_MainWindow::pagesListRecordsInNameOrderAndNavigate()
{
    MainWindowFixture f;
    for (const char* name : {"visa", "Amex", "Discover", "MasterCard"}) {
        f.add(QStringLiteral("[Credit Cards]"), {{"Credit Card", name}});
    }
    frm_Main& main = f.show();
    DataControl* view = main.dataControl(QStringLiteral("Credit"));
    QStringList seen{f.text("sle_CreditCard")};
    for (int i = 0; i < 3; ++i) {
        click(view, "cb_Next");
        seen << f.text("sle_CreditCard");
    }
    QCOMPARE(seen, (QStringList{"Amex", "Discover", "MasterCard", "visa"}));
    // Past the end the view stays on the last record.
    click(view, "cb_Next");
    QCOMPARE(f.text("sle_CreditCard"), QStringLiteral("visa"));
    click(view, "cb_First");
    QCOMPARE(f.text("sle_CreditCard"), QStringLiteral("Amex"));
    click(view, "cb_Last");
    click(view, "cb_Previous");
    QCOMPARE(f.text("sle_CreditCard"), QStringLiteral("MasterCard"));
    QVERIFY(f.seam.messages.isEmpty());
}

void tst_MainWindow::emptyListShowsNothingAndCannotMove()
{
    MainWindowFixture f;
    f.add(QStringLiteral("[Web Accounts]"), {{"Web Site", "Shop"}});
    frm_Main& main = f.show();
    DataControl* view = main.dataControl(QStringLiteral("Credit"));
    QVERIFY(view->Bof());
    QCOMPARE(f.text("sle_CreditCard"), QString());
    for (const char* button : {"cb_First", "cb_Previous", "cb_Next", "cb_Last"}) {
        QVERIFY2(!view->findChild<QToolButton*>(QString::fromLatin1(button))->isEnabled(), button);
    }
    QCOMPARE(f.text("sle_WebAccount"), QStringLiteral("Shop"));
}

void tst_MainWindow::setUpOfOneCategoryLeavesTheOthers()
{
    MainWindowFixture f;
    for (const char* name : {"A card", "B card"}) {
        f.add(QStringLiteral("[Credit Cards]"), {{"Credit Card", name}});
    }
    for (const char* name : {"A miles", "B miles"}) {
        f.add(QStringLiteral("[Travel Programs]"), {{"Travel Program", name}});
    }
    frm_Main& main = f.show();
    click(main.dataControl(QStringLiteral("Credit")), "cb_Next");
    click(main.dataControl(QStringLiteral("Travel")), "cb_Next");
    QVERIFY(!main.wf_SetUpDataControls(QStringLiteral("Travel")));
    QCOMPARE(f.text("sle_TravelProgram"), QStringLiteral("A miles"));
    QCOMPARE(f.text("sle_CreditCard"), QStringLiteral("B card"));
}

void tst_MainWindow::resetLetsGoOfTheFileAndShowsNothing()
{
    MainWindowFixture f;
    f.add(QStringLiteral("[Credit Cards]"),
          {{"Credit Card", "Visa"}, {"Card Type", " 2"}, {"Expiration Date", "1203"}, {"Phone Number", "8005551234"}});
    f.add(QStringLiteral("[Web Accounts]"), {{"Web Site", "Shop"}, {"URL", "shop.example"}});
    frm_Main& main = f.show();
    QCOMPARE(f.text("sle_CreditExpirationDate"), QStringLiteral("12/03"));

    main.wf_ResetDataControls();
    for (const char* category : {"Credit", "Travel", "Web"}) {
        QVERIFY(!main.dataControl(QString::fromLatin1(category))->IsAttached());
    }
    for (const char* field : {"sle_CreditCard", "sle_CreditCardID", "sle_CreditExpirationDate", "sle_CreditPhoneNumber",
                              "sle_WebAccount", "sle_WebURL"}) {
        QVERIFY2(f.text(field).isEmpty(), field);
    }
    QVERIFY(main.findChild<QLabel*>(QStringLiteral("pb_CreditCardType_1"))->isHidden());

    QVERIFY(!main.wf_SetUpDataControls());
    QCOMPARE(f.text("sle_CreditCard"), QStringLiteral("Visa"));
    QCOMPARE(f.text("sle_WebAccount"), QStringLiteral("Shop"));
}

void tst_MainWindow::displayedFormattingIsNeverWrittenBack()
{
    MainWindowFixture f;
    f.add(QStringLiteral("[Travel Programs]"), {{"Travel Program", "A miles"}, {"Phone Number", "8005551234"}});
    f.add(QStringLiteral("[Travel Programs]"), {{"Travel Program", "B miles"}, {"Phone Number", "5551234"}});
    frm_Main& main = f.show();
    QCOMPARE(f.text("sle_TravelPhoneNumber"), QStringLiteral("(800) 555-1234"));
    // Whatever lands in a display field stays on screen only.
    main.findChild<QLineEdit*>(QStringLiteral("sle_TravelAccountName"))->setText(QStringLiteral("typed"));
    DataControl* view = main.dataControl(QStringLiteral("Travel"));
    click(view, "cb_Next");
    QCOMPARE(f.text("sle_TravelPhoneNumber"), QStringLiteral("(___) 555-1234"));
    click(view, "cb_Previous");
    main.wf_ResetDataControls();
    const QString sql = QStringLiteral("Select * From [Travel Programs] Order By [Travel Program]");
    QCOMPARE(f.column(sql, QStringLiteral("Phone Number")), (QStringList{"8005551234", "5551234"}));
    QCOMPARE(f.column(sql, QStringLiteral("Account Name")), (QStringList{"", ""}));
}

void tst_MainWindow::lockItemNeedsAPassword_data()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("no password") << "";
    QTest::newRow("password") << "Secret pw";
}

void tst_MainWindow::lockItemNeedsAPassword()
{
    QFETCH(QString, password);
    MainWindowFixture f(password);
    QVERIFY(platform::SaveSetting(QStringLiteral("Corvanta"), QStringLiteral("Settings"), QStringLiteral("Lock"),
                                  QStringLiteral("1")));
    frm_Main& main = f.show();
    const QAction* lock = main.menuItem("mnu_ViewLock");
    QVERIFY(lock->isChecked());
    QCOMPARE(lock->isEnabled(), !password.isEmpty());
}

void tst_MainWindow::settingsAreAppliedAtLoad()
{
    MainWindowFixture f;
    for (const auto& [key, value] : {std::pair{"ViewPasswords", "0"}, std::pair{"SplashScreen", "true"},
                                     std::pair{"AlwaysOnTop", "1"}, std::pair{"Lock", "0"}}) {
        QVERIFY(platform::SaveSetting(QStringLiteral("Corvanta"), QStringLiteral("Settings"), QString::fromLatin1(key),
                                      QString::fromLatin1(value)));
    }
    frm_Main& main = f.show();
    QVERIFY(!main.ibool_MaskPasswords);
    QVERIFY(!main.menuItem("mnu_ViewPasswords")->isChecked());
    QCOMPARE(main.findChild<QLineEdit*>(QStringLiteral("sle_WebPassword"))->echoMode(), QLineEdit::Normal);
    // Only "1" is on.
    QVERIFY(!main.menuItem("mnu_ViewSplashScreen")->isChecked());
    QVERIFY(main.menuItem("mnu_ViewAlwaysOnTop")->isChecked());
    QVERIFY(gbool_AlwaysOnTop);
    QVERIFY(window_tasks::IsTopMost(&main));
    QVERIFY(!gbool_Lock);
}

void tst_MainWindow::unloadWritesSettings_data()
{
    QTest::addColumn<int>("splashToggles");
    QTest::addColumn<QString>("splash");
    QTest::newRow("untouched") << 0 << "1";
    QTest::newRow("toggled once") << 1 << "0";
    QTest::newRow("toggled twice") << 2 << "1";
}

void tst_MainWindow::unloadWritesSettings()
{
    QFETCH(int, splashToggles);
    QFETCH(QString, splash);
    MainWindowFixture f;
    frm_Main& main = f.show();
    for (int i = 0; i < splashToggles; ++i) {
        main.menuItem("mnu_ViewSplashScreen")->trigger();
    }
    QCOMPARE(main.menuItem("mnu_ViewSplashScreen")->isChecked(), splash == QLatin1String("1"));
    // With no position stored, the window opened in the middle of the primary screen (give or
    // take the frame, which is not known before the window is first shown).
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY((main.geometry().center() - screen.center()).manhattanLength() <= 10);
    main.menuItem("mnu_ViewPasswords")->trigger();
    main.menuItem("mnu_ViewAlwaysOnTop")->trigger();
    main.move(100, 80);
    const QPoint at = main.pos();
    // Nothing reaches the store before the window unloads.
    QCOMPARE(stored(QStringLiteral("SplashScreen")), QStringLiteral("<absent>"));
    main.menuItem("mnu_FileExit")->trigger();

    QCOMPARE(stored(QStringLiteral("MainLeft")), QString::number(at.x() * 15));
    QCOMPARE(stored(QStringLiteral("MainTop")), QString::number(at.y() * 15));
    QCOMPARE(stored(QStringLiteral("SplashScreen")), splash);
    QCOMPARE(stored(QStringLiteral("ViewPasswords")), QStringLiteral("0"));
    QCOMPARE(stored(QStringLiteral("AlwaysOnTop")), QStringLiteral("0"));
    QCOMPARE(stored(QStringLiteral("Lock")), QStringLiteral("0"));
    QCOMPARE(f.programEnded, 1);
    QVERIFY(!window_tasks::HasTrayIcon());
}

void tst_MainWindow::minimisedUnloadKeepsStoredPosition()
{
    MainWindowFixture f;
    for (const auto& [key, value] : {std::pair{"MainLeft", "1500"}, std::pair{"MainTop", "1200"}}) {
        QVERIFY(platform::SaveSetting(QStringLiteral("Corvanta"), QStringLiteral("Settings"), QString::fromLatin1(key),
                                      QString::fromLatin1(value)));
    }
    frm_Main& main = f.show();
    QCOMPARE(main.pos(), QPoint(100, 80));
    main.move(300, 300);
    main.showMinimized();
    main.hide();
    main.close();
    QCOMPARE(stored(QStringLiteral("MainLeft")), QStringLiteral("1500"));
    QCOMPARE(stored(QStringLiteral("MainTop")), QStringLiteral("1200"));
    QCOMPARE(stored(QStringLiteral("ViewPasswords")), QStringLiteral("1"));
}

void tst_MainWindow::unloadClosesOtherWindowsFirstAndEndsTheProgram()
{
    MainWindowFixture f;
    frm_Main& main = f.show();
    // A dialog that only hides after use stays loaded until the main window goes.
    KeptDialog kept;
    kept.show();
    kept.hide();
    main.close();
    QVERIFY(kept.closedBeforeSettings);
    QCOMPARE(f.programEnded, 1);
    QVERIFY(gdb_Data == nullptr);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_MainWindow.moc"
