#include "DataControl.h"
#include "General.h"
#include "MainCommands.h"
#include "MainWindowFixture.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "WindowTasks.h"

#include <QAction>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QToolButton>

namespace {

QString stored(const QString& key)
{
    QSettings store(platform::settingsFilePath("Corvanta"), QSettings::IniFormat);
    return store.value("Settings/" + key, "<absent>").toString();
}

void store(const QString& key, const QString& value)
{
    QVERIFY(platform::SaveSetting("Corvanta", "Settings", key, value));
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
        closedBeforeSettings = stored("SplashScreen") == QLatin1String("<absent>");
        QDialog::closeEvent(event);
    }
};

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void personalFrameShowsFormattedValuesAndKeepsThoseWithout()
    {
        MainWindowFixture f;
        const qint64 id = f.add("[Personal Information]",
                                {{"Name", "Ann Lee"}, {"City", "Springfield"}, {"Phone Number", "8005551234"}});
        frm_Main& main = f.show();
        QCOMPARE(f.text("sle_PhoneNumber"), QStringLiteral("(800) 555-1234"));
        QCOMPARE(f.text("sle_Address"), QString());
        QVERIFY(window_tasks::HasTrayIcon());
        const QString sql = "UPDATE [Personal Information] SET [City] = NULL, [Name] = 'Bo' "
                            "WHERE [Personal Information ID] = " +
                            QString::number(id);
        QVERIFY(!gdb_Data->Execute(sql));
        QVERIFY(main.wf_PersonalInformation());
        QCOMPARE(f.text("sle_Name"), QStringLiteral("Bo"));
        QCOMPARE(f.text("sle_City"), QStringLiteral("Springfield"));
    }

    void pagesListRecordsInNameOrderAndNavigate()
    {
        MainWindowFixture f;
        for (const char* name : {"visa", "Amex", "Discover", "MasterCard"}) {
            f.add("[Credit Cards]", {{"Credit Card", name}});
        }
        frm_Main& main = f.show();
        DataControl* view = main.dataControl(Category::Credit);
        QStringList seen{f.text("sle_CreditCard")};
        for (int i = 0; i < 4; ++i) { // the last press is past the end: the view stays
            click(view, "cb_Next");
            seen << f.text("sle_CreditCard");
        }
        QCOMPARE(seen, (QStringList{"Amex", "Discover", "MasterCard", "visa", "visa"}));
        click(view, "cb_Last");
        click(view, "cb_Previous");
        QCOMPARE(f.text("sle_CreditCard"), QStringLiteral("MasterCard"));
        // An empty page shows nothing and offers no move.
        DataControl* travel = main.dataControl(Category::Travel);
        QVERIFY(travel->Bof());
        for (const char* button : {"cb_First", "cb_Previous", "cb_Next", "cb_Last"}) {
            QVERIFY2(!travel->findChild<QToolButton*>(QString::fromLatin1(button))->isEnabled(), button);
        }
        QVERIFY(f.seam.messages.isEmpty());
    }

    void resetLetsGoOfTheFileAndShowsNothing()
    {
        MainWindowFixture f;
        f.add("[Credit Cards]", {{"Credit Card", "Visa"}, {"Card Type", " 2"}, {"Expiration Date", "1203"}});
        f.add("[Web Accounts]", {{"Web Site", "Shop"}, {"URL", "shop.example"}});
        frm_Main& main = f.show();
        QCOMPARE(f.text("sle_CreditExpirationDate"), QStringLiteral("12/03"));
        main.wf_ResetDataControls();
        for (const Category category : categories::listed()) {
            QVERIFY(!main.dataControl(category)->IsAttached());
        }
        for (const QLineEdit* field : main.findChildren<QLineEdit*>()) { // but the "Other" card's caption
            QVERIFY2(field->text().isEmpty() || field->objectName() == "sle_pbCreditCardType",
                     qPrintable(field->objectName()));
        }
        QVERIFY(main.findChild<QLabel*>("pb_CreditCardType_1")->isHidden());
        QVERIFY(!main.wf_SetUpDataControls());
        QCOMPARE(f.text("sle_CreditCard"), QStringLiteral("Visa"));
        QCOMPARE(f.text("sle_WebAccount"), QStringLiteral("Shop"));
    }

    void displayedFormattingIsNeverWrittenBack()
    {
        MainWindowFixture f;
        f.add("[Travel Programs]", {{"Travel Program", "A miles"}, {"Phone Number", "8005551234"}});
        f.add("[Travel Programs]", {{"Travel Program", "B miles"}, {"Phone Number", "5551234"}});
        frm_Main& main = f.show();
        QCOMPARE(f.text("sle_TravelPhoneNumber"), QStringLiteral("(800) 555-1234"));
        // Whatever lands in a display field stays on screen only.
        main.findChild<QLineEdit*>("sle_TravelAccountName")->setText("typed");
        DataControl* view = main.dataControl(Category::Travel);
        click(view, "cb_Next");
        QCOMPARE(f.text("sle_TravelPhoneNumber"), QStringLiteral("(___) 555-1234"));
        click(view, "cb_Previous");
        main.wf_ResetDataControls();
        const QString sql = "Select * From [Travel Programs] Order By [Travel Program]";
        QCOMPARE(f.column(sql, "Phone Number"), (QStringList{"8005551234", "5551234"}));
        QCOMPARE(f.column(sql, "Account Name"), (QStringList{"", ""}));
    }

    void settingsAreAppliedAtLoad()
    {
        MainWindowFixture f;
        for (const auto& [key, value] : {std::pair{"ViewPasswords", "0"}, std::pair{"SplashScreen", "true"},
                                         std::pair{"AlwaysOnTop", "1"}, std::pair{"Lock", "0"}}) {
            store(key, value);
        }
        frm_Main& main = f.show();
        QVERIFY(!main.menuItem("mnu_ViewPasswords")->isChecked());
        QCOMPARE(main.findChild<QLineEdit*>("sle_WebPassword")->echoMode(), QLineEdit::Normal);
        QVERIFY(!main.menuItem("mnu_ViewSplashScreen")->isChecked()); // only "1" is on
        QVERIFY(gbool_AlwaysOnTop && window_tasks::IsTopMost(&main));
        QVERIFY(!gbool_Lock);
    }

    void unloadWritesSettings()
    {
        MainWindowFixture f;
        frm_Main& main = f.show();
        main.menuItem("mnu_ViewSplashScreen")->trigger();
        // With no position stored, the window opened in the middle of the primary screen (give or
        // take the frame, which is not known before the window is first shown).
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY((main.geometry().center() - screen.center()).manhattanLength() <= 10);
        main.menuItem("mnu_ViewPasswords")->trigger();
        main.menuItem("mnu_ViewAlwaysOnTop")->trigger();
        main.move(100, 80);
        const QPoint at = main.pos();
        QCOMPARE(stored("SplashScreen"), QStringLiteral("<absent>")); // nothing before the unload
        main.menuItem("mnu_FileExit")->trigger();

        QCOMPARE(stored("MainLeft"), QString::number(at.x() * 15));
        QCOMPARE(stored("MainTop"), QString::number(at.y() * 15));
        QCOMPARE(stored("SplashScreen"), QStringLiteral("0"));
        QCOMPARE(stored("ViewPasswords"), QStringLiteral("0"));
        QCOMPARE(stored("AlwaysOnTop"), QStringLiteral("0"));
        QCOMPARE(stored("Lock"), QStringLiteral("0"));
        QCOMPARE(f.programEnded, 1);
        QVERIFY(!window_tasks::HasTrayIcon());
    }

    void minimisedUnloadKeepsStoredPosition()
    {
        MainWindowFixture f;
        store("MainLeft", "1500");
        store("MainTop", "1200");
        frm_Main& main = f.show();
        QCOMPARE(main.pos(), QPoint(100, 80));
        main.move(300, 300);
        main.showMinimized();
        main.hide();
        main.close();
        QCOMPARE(stored("MainLeft"), QStringLiteral("1500"));
        QCOMPARE(stored("MainTop"), QStringLiteral("1200"));
    }

    void unloadClosesOtherWindowsFirstAndEndsTheProgram()
    {
        MainWindowFixture f;
        frm_Main& main = f.show();
        KeptDialog kept; // only hides after use: stays loaded until the main window goes
        kept.show();
        kept.hide();
        main.close();
        QVERIFY(kept.closedBeforeSettings);
        QCOMPARE(f.programEnded, 1);
        QVERIFY(gdb_Data == nullptr);
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_MainWindow.moc"
