// The main window on a real data file: what its fields show, the settings it reads and writes,
// what a drag, a link or a double click on a field does, and its lock, <Vanish> and tray menu.

#include "DataControl.h"
#include "DisplayFields.h"
#include "EngineFixture.h"
#include "General.h"
#include "MainWindowFixture.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "TopMost.h"
#include "TrayControl.h"
#include "WebLinkLabel.h"

#include <QAction>
#include <QDesktopServices>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <QWindow>

using testsupport::row;

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

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT

private:
    static void enter(QDialog* dialog, const QString& password)
    {
        dialog->findChild<QLineEdit*>(QStringLiteral("sle_Password"))->setText(password);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cb_OK")), Qt::LeftButton);
    }

private slots:
    void cleanup() { DisplayFields::setDragRunner({}); }

    // Phone numbers are shown formatted, on the page and in the personal frame, and what a display
    // field shows is never written back. The frame filled again keeps a value the record lost.
    void displayedFormattingIsNeverWrittenBack()
    {
        MainWindowFixture f;
        const qint64 id = f.add("[Personal Information]", {{"Name", "Ann Lee"}, {"City", "Springfield"}});
        f.add("[Travel Programs]", {{"Travel Program", "A miles"}, {"Phone Number", "8005551234"}});
        f.add("[Travel Programs]", {{"Travel Program", "B miles"}, {"Phone Number", "5551234"}});
        frm_Main& main = f.show();
        QCOMPARE(f.text("sle_TravelPhoneNumber"), QStringLiteral("(800) 555-1234"));
        QCOMPARE(f.text("sle_PhoneNumber"), QString());
        QVERIFY(!gdb_Data->Execute("UPDATE [Personal Information] SET [City] = NULL, [Name] = 'Bo', "
                                   "[Phone Number] = '8005551234' WHERE [Personal Information ID] = " +
                                   QString::number(id)));
        QVERIFY(main.wf_PersonalInformation());
        QCOMPARE(f.text("sle_Name"), QStringLiteral("Bo"));
        QCOMPARE(f.text("sle_City"), QStringLiteral("Springfield"));
        QCOMPARE(f.text("sle_PhoneNumber"), QStringLiteral("(800) 555-1234"));
        // Whatever lands in a display field stays on screen only.
        main.findChild<QLineEdit*>("sle_TravelAccountName")->setText("typed");
        DataControl* view = main.dataControl(Category::Travel);
        QVERIFY(!view->MoveNext());
        QCOMPARE(f.text("sle_TravelPhoneNumber"), QStringLiteral("(___) 555-1234"));
        QVERIFY(!view->MovePrevious());
        main.wf_ResetDataControls();
        const QString sql = "Select * From [Travel Programs] Order By [Travel Program]";
        QCOMPARE(f.column(sql, "Phone Number"), (QStringList{"8005551234", "5551234"}));
        QCOMPARE(f.column(sql, "Account Name"), (QStringList{"", ""}));
        QCOMPARE(f.column("Select * From [Personal Information]", "Phone Number"), QStringList{"8005551234"});
    }

    void settingsAreAppliedAtLoadAndWrittenAtUnload()
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
        QVERIFY(gbool_AlwaysOnTop && tasks::IsTopMost(&main));
        QVERIFY(!gbool_Lock);
        // With no position stored, the window opened in the middle of the primary screen (give or
        // take the frame, which is not known before the window is first shown).
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY((main.geometry().center() - screen.center()).manhattanLength() <= 10);

        const QRect placed = main.geometry();
        const QWindow* native = main.windowHandle();
        for (const char* item : {"mnu_ViewPasswords", "mnu_ViewSplashScreen", "mnu_ViewAlwaysOnTop"}) {
            main.menuItem(item)->trigger();
        }
        // A window flag changed on a shown window would hide it and let the desktop place it anew.
        QVERIFY(!tasks::IsTopMost(&main) && main.isVisible());
        QCOMPARE(main.windowHandle(), native);
        QCOMPARE(main.geometry(), placed);
        main.move(100, 80);
        const QPoint at = main.pos();
        QCOMPARE(stored("ViewPasswords"), QStringLiteral("0")); // nothing before the unload
        main.menuItem("mnu_FileExit")->trigger();
        QCOMPARE(stored("MainLeft"), QString::number(at.x() * 15));
        QCOMPARE(stored("MainTop"), QString::number(at.y() * 15));
        QCOMPARE(stored("ViewPasswords"), QStringLiteral("1"));
        QCOMPARE(stored("SplashScreen"), QStringLiteral("1"));
        QCOMPARE(stored("AlwaysOnTop"), QStringLiteral("0"));
        QCOMPARE(stored("Lock"), QStringLiteral("0"));
        QCOMPARE(f.programEnded, 1);
        QVERIFY(!gdb_Data);

        // Opened where it was left; a window that is minimised at the unload keeps that place.
        store("MainLeft", "1500");
        store("MainTop", "1200");
        frm_Main& again = f.show();
        QCOMPARE(again.pos(), QPoint(100, 80));
        again.move(300, 300);
        again.showMinimized();
        again.hide();
        again.close();
        QCOMPARE(stored("MainLeft"), QStringLiteral("1500"));
        QCOMPARE(stored("MainTop"), QStringLiteral("1200"));
    }

    void leftDragCarriesTheWholeTextAndABlank_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("dropped"); // empty: no drag
        row("left", int(Qt::LeftButton), "sle_CreditCard", "Visa Gold ");
        row("right", int(Qt::RightButton), "sle_CreditCard", "");
        // What goes into a sign-in form goes exactly as stored.
        row("password", int(Qt::LeftButton), "sle_WebPassword", "R3tire^2045!");
    }
    void leftDragCarriesTheWholeTextAndABlank()
    {
        QFETCH(int, buttons);
        QFETCH(QString, field);
        QFETCH(QString, dropped);
        MainWindowFixture f;
        f.add("[Credit Cards]", {{"Credit Card", "Visa Gold"}});
        f.add("[Web Accounts]", {{"Web Site", "Mail"}, {"Login", "jo@x.com"}, {"Password", "R3tire^2045!"}});
        frm_Main& main = f.show();
        QStringList drops;
        DisplayFields::setDragRunner([&](QLineEdit*, QMimeData* data, Qt::DropActions allowed) {
            drops << data->text() + (data->formats() == QStringList{"text/plain"} ? "" : " <other formats>") +
                         (allowed == Qt::CopyAction ? "" : " <not a copy>");
            delete data;
        });
        QLineEdit* edit = main.findChild<QLineEdit*>(field);
        const QString shown = edit->text();
        const auto pressed = Qt::MouseButtons(buttons);
        const Qt::MouseButton first = (pressed & Qt::LeftButton) ? Qt::LeftButton : Qt::MouseButton(buttons);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), edit->mapToGlobal(QPointF(5, 5)), first, pressed,
                          Qt::NoModifier);
        QApplication::sendEvent(edit, &press);
        QMouseEvent move(QEvent::MouseMove, QPointF(40, 6), edit->mapToGlobal(QPointF(40, 6)), Qt::NoButton, pressed,
                         Qt::NoModifier);
        QApplication::sendEvent(edit, &move);
        QCOMPARE(drops, dropped.isEmpty() ? QStringList() : QStringList{dropped});
        QCOMPARE(edit->text(), shown); // never changed by a drag
    }

    void cardPictureFollowsTheCardType_data()
    {
        QTest::addColumn<QString>("cardType");
        QTest::addColumn<int>("shown");
        row(" 1", " 1", 0);
        row(" 5 other", " 5", 4);
        row("3 without blank", "3", -1);
        row(" 6", " 6", -1);
        row("trailing blank", " 1 ", -1);
    }
    void cardPictureFollowsTheCardType()
    {
        QFETCH(QString, cardType);
        QFETCH(int, shown);
        MainWindowFixture f;
        // Moving from a card with a picture shows only the next card's.
        f.add("[Credit Cards]", {{"Credit Card", "A"}, {"Card Type", " 2"}});
        f.add("[Credit Cards]", {{"Credit Card", "B"}, {"Card Type", cardType}});
        frm_Main& main = f.show();
        QVERIFY(!main.findChild<QLabel*>("pb_CreditCardType_1")->isHidden());
        QVERIFY(!main.dataControl(Category::Credit)->MoveNext());
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(!main.findChild<QLabel*>(QStringLiteral("pb_CreditCardType_%1").arg(i))->isHidden(), i == shown);
        }
        if (shown == 4) {
            QCOMPARE(f.text("sle_pbCreditCardType"), QStringLiteral("Other"));
        }
    }

    void webAddressBecomesALink_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("link");
        QTest::addColumn<int>("answer"); // to the question before an address of another scheme opens; 0: none
        QTest::addColumn<bool>("opens");
        row("bare", "abc", "http://abc", 0, true);
        row("host with port", "localhost:8080/login", "http://localhost:8080/login", 0, true);
        row("capitals", "HTTP://shop.example", "HTTP://shop.example", 0, true);
        row("mail", "mailto:ann@shop.example", "mailto:ann@shop.example", 0, true);
        row("other scheme, Yes", "ftp://files.example", "ftp://files.example", int(platform::Answer::Yes), true);
        row("other scheme, No", "javascript:alert(1)", "javascript:alert(1)", int(platform::Answer::No), false);
        // Shown as typed, never read as markup; no browser is asked to open a host like that.
        row("markup stays text", "<b>x</b>", "http://<b>x</b>", 0, false);
        row("empty", "", "", 0, false);
    }
    void webAddressBecomesALink()
    {
        QFETCH(QString, url);
        QFETCH(QString, link);
        QFETCH(int, answer);
        QFETCH(bool, opens);
        MainWindowFixture f;
        f.add("[Web Accounts]", {{"Web Site", "Site"}, {"URL", url}});
        frm_Main& main = f.show();
        auto* label = main.findChild<WebLinkLabel*>("hl_WebURL");
        QCOMPARE(label->caption(), link);
        QCOMPARE(label->address(), link);
        QVERIFY(!label->text().contains("<b>"));

        UrlCatcher catcher;
        const QStringList schemes{"http", "https", "mailto", "ftp", "javascript"};
        for (const QString& scheme : schemes) {
            QDesktopServices::setUrlHandler(scheme, &catcher, "open");
        }
        if (answer != 0) {
            f.seam.queueAnswer(platform::Answer(answer));
        }
        QCOMPARE(label->openLink(), opens);
        for (const QString& scheme : schemes) {
            QDesktopServices::unsetUrlHandler(scheme);
        }
        QCOMPARE(catcher.opened.size(), opens ? 1 : 0);
        QCOMPARE(f.seam.messages.size(), answer != 0 ? 1 : 0);
        if (answer != 0) {
            QCOMPARE(f.seam.messages.at(0).flags, 292);
            QVERIFY(f.seam.messages.at(0).text.contains(url));
        }
    }

    void travelWebAccountJumpsToItsWebAccount_data()
    {
        QTest::addColumn<QString>("webAccount");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("shownWeb");
        row("apostrophe", "O'Hare's Club", 2, "O'Hare's Club");
        row("missing with apostrophe", "No'where", 1, "Alpha");
    }
    void travelWebAccountJumpsToItsWebAccount()
    {
        QFETCH(QString, webAccount);
        QFETCH(int, page);
        QFETCH(QString, shownWeb);
        MainWindowFixture f;
        for (const char* site : {"Alpha", "Miles Site", "O'Hare's Club"}) {
            f.add("[Web Accounts]", {{"Web Site", site}});
        }
        f.add("[Travel Programs]", {{"Travel Program", "A miles"}});
        f.add("[Travel Programs]", {{"Travel Program", "B miles"}, {"Web Account", webAccount}});
        frm_Main& main = f.show();
        main.showPage(Category::Travel);
        QVERIFY(!main.dataControl(Category::Travel)->MoveNext());
        QTest::mouseDClick(main.findChild<QLineEdit*>("sle_TravelWebAccount"), Qt::LeftButton);
        QCOMPARE(main.findChild<QTabWidget*>("tp_Data")->currentIndex(), page);
        QCOMPARE(f.text("sle_TravelProgram"), QStringLiteral("B miles"));
        QCOMPARE(f.text("sle_WebAccount"), shownWeb);
        QVERIFY(f.seam.messages.isEmpty());
    }

    // Locked means closed: nothing of the file stays open or on screen while the window is away,
    // and the right password opens the file again on the records the pages showed.
    void lockedWindowHoldsNothingUntilThePasswordOpensTheFile()
    {
        MainWindowFixture f("Secret");
        f.add("[Personal Information]", {{"Name", "Ann"}});
        for (const char* card : {"Alpha", "Beta", "Gamma"}) {
            f.add("[Credit Cards]", {{"Credit Card", QString::fromLatin1(card)}});
        }
        f.add("[Web Accounts]", {{"Web Site", "Site"}, {"Password", "pw"}});
        frm_Main& main = f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QVERIFY(!main.dataControl(Category::Credit)->MoveNext());
        QCOMPARE(f.text("sle_CreditCard"), QStringLiteral("Beta"));
        main.menuItem("mnu_ViewLock")->trigger();
        QVERIFY(gbool_Lock);

        // The test desktop has no notification area: the window goes to the task bar.
        main.menuItem("mnu_Vanish")->trigger();
        QVERIFY(main.isMinimized());
        auto closed = [&] {
            QVERIFY(!gdb_Data);
            QVERIFY(gstr_Password.isEmpty() && gstr_Connect.isEmpty());
            for (const Category category : categories::listed()) {
                QVERIFY(!main.dataControl(category)->IsAttached());
            }
            for (const QLineEdit* field : main.findChildren<QLineEdit*>()) {
                QVERIFY2(field->text().isEmpty(), qPrintable(field->objectName()));
            }
        };
        closed();

        f.seam.queueScript([](QDialog* dialog) { enter(dialog, QStringLiteral("secret")); });
        main.showNormal();
        QTRY_VERIFY(main.isMinimized());
        QCOMPARE(f.seam.messages.size(), 1);
        closed();

        // A create from the tray menu asks first, and its dialog comes over the restored window.
        f.seam.queueScript([](QDialog* dialog) { enter(dialog, QStringLiteral("Secret")); });
        f.queueDialog(MainWindowFixture::saveName("Example"));
        main.trayControl().menuItem("mnu_SysTrayCreateWeb")->trigger();
        QCOMPARE(f.seam.modalDialogs.size(), 2);
        QCOMPARE(f.dialogCalls.size(), 1);
        QVERIFY(!main.isMinimized() && main.isVisible());
        QCOMPARE(main.trayControl().state(), TrayControl::State::Shown);
        QVERIFY(gdb_Data && gdb_Data->IsOpen());
        QCOMPARE(fixture::text(gstr_Password), QStringLiteral("Secret"));
        QCOMPARE(f.text("sle_Name"), QStringLiteral("Ann"));
        QCOMPARE(f.text("sle_CreditCard"), QStringLiteral("Beta"));
        QCOMPARE(f.text("sle_WebAccount"), QStringLiteral("Example"));
        QVERIFY(!main.dataControl(Category::Web)->MoveNext());
        QCOMPARE(f.text("sle_WebPassword"), QStringLiteral("pw"));
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_MainWindow.moc"
