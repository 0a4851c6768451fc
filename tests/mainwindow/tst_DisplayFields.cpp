#include "DataControl.h"
#include "DisplayFields.h"
#include "MainWindowFixture.h"
#include "WebLinkLabel.h"

#include <QAction>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QStyle>
#include <QTabWidget>
#include <QTest>

namespace {

QLineEdit* field(frm_Main& main, const char* name)
{
    return main.findChild<QLineEdit*>(QString::fromLatin1(name));
}

struct Drag
{
    QString text;
    QStringList formats;
    Qt::DropActions allowed;
};

} // namespace

class tst_DisplayFields : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { DisplayFields::setDragRunner({}); }

    void focusGoesToTheAreasHolder_data();
    void focusGoesToTheAreasHolder();
    void leftDragCarriesTheWholeTextAndABlank_data();
    void leftDragCarriesTheWholeTextAndABlank();
    void cardPictureFollowsTheCardType_data();
    void cardPictureFollowsTheCardType();
    void webAddressBecomesALink_data();
    void webAddressBecomesALink();
    void travelWebAccountJumpsToItsWebAccount_data();
    void travelWebAccountJumpsToItsWebAccount();
    void maskPasswordsTogglesAtOnce();
};

void tst_DisplayFields::focusGoesToTheAreasHolder_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("holder");
    QTest::newRow("name") << 0 << "sle_Name"
                          << "pb_PersonalFocusBox";
    QTest::newRow("phone") << 0 << "sle_PhoneNumber"
                           << "pb_PersonalFocusBox";
    QTest::newRow("expiration") << 0 << "sle_CreditExpirationDate"
                                << "pb_CreditCardFocusBox";
    QTest::newRow("travel web account") << 1 << "sle_TravelWebAccount"
                                        << "pb_TravelProgramFocusBox";
    QTest::newRow("web password") << 2 << "sle_WebPassword"
                                  << "pb_WebAccountFocusBox";
}

void tst_DisplayFields::focusGoesToTheAreasHolder()
{
    QFETCH(int, page);
    QFETCH(QString, field);
    QFETCH(QString, holder);
    MainWindowFixture f;
    f.add(QStringLiteral("[Personal Information]"), {{"Name", "Ann"}});
    frm_Main& main = f.show();
    main.findChild<QTabWidget*>(QStringLiteral("tp_Data"))->setCurrentIndex(page);
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QLineEdit* edit = ::field(main, field.toLatin1().constData());
    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget()->objectName(), holder);
    // Typing reaches nothing.
    const QString before = edit->text();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("xyz"));
    QCOMPARE(edit->text(), before);
}

void tst_DisplayFields::leftDragCarriesTheWholeTextAndABlank_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("dropped"); // empty: no drag
    const int left = Qt::LeftButton;
    QTest::newRow("left") << left << "sle_CreditCard"
                          << "Visa Gold ";
    QTest::newRow("right") << int(Qt::RightButton) << "sle_CreditCard"
                           << "";
    QTest::newRow("left and right") << int(Qt::LeftButton | Qt::RightButton) << "sle_CreditCard"
                                    << "";
    QTest::newRow("middle") << int(Qt::MiddleButton) << "sle_CreditCard"
                            << "";
    // What goes into a sign-in form goes exactly as stored.
    QTest::newRow("password") << left << "sle_WebPassword"
                              << "R3tire^2045!";
    QTest::newRow("login") << left << "sle_WebLogin"
                           << "jo@x.com";
    QTest::newRow("card number") << left << "sle_CreditAccountNumber"
                                 << "4111111111111111";
    QTest::newRow("site name") << left << "sle_WebAccount"
                               << "Mail ";
}

void tst_DisplayFields::leftDragCarriesTheWholeTextAndABlank()
{
    QFETCH(int, buttons);
    QFETCH(QString, field);
    QFETCH(QString, dropped);
    const bool drags = !dropped.isEmpty();
    MainWindowFixture f;
    f.add(QStringLiteral("[Credit Cards]"), {{"Credit Card", "Visa Gold"}, {"Account Number", "4111111111111111"}});
    f.add(QStringLiteral("[Web Accounts]"),
          {{"Web Site", "Mail"}, {"Login", "jo@x.com"}, {"Password", "R3tire^2045!"}});
    frm_Main& main = f.show();
    QList<Drag> drops;
    DisplayFields::setDragRunner([&](QLineEdit*, QMimeData* data, Qt::DropActions allowed) {
        drops.append({data->text(), data->formats(), allowed});
        delete data;
    });
    QLineEdit* card = ::field(main, field.toLatin1().constData());
    const QString shown = card->text();
    const auto pressed = Qt::MouseButtons(buttons);
    const Qt::MouseButton first = (pressed & Qt::LeftButton) ? Qt::LeftButton : Qt::MouseButton(int(pressed));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), card->mapToGlobal(QPointF(5, 5)), first, pressed,
                      Qt::NoModifier);
    QApplication::sendEvent(card, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(40, 6), card->mapToGlobal(QPointF(40, 6)), Qt::NoButton, pressed,
                     Qt::NoModifier);
    QApplication::sendEvent(card, &move);

    QCOMPARE(drops.size(), drags ? 1 : 0);
    if (drags) {
        QCOMPARE(drops.first().text, dropped);
        QCOMPARE(drops.first().formats, QStringList{QStringLiteral("text/plain")});
        QCOMPARE(drops.first().allowed, Qt::DropActions(Qt::CopyAction));
        QCOMPARE(card->selectedText(), shown);
    }
    // Never changed by a drag.
    QCOMPARE(card->text(), shown);
}

void tst_DisplayFields::cardPictureFollowsTheCardType_data()
{
    QTest::addColumn<QString>("cardType");
    QTest::addColumn<int>("shown");
    QTest::newRow(" 1") << " 1" << 0;
    QTest::newRow(" 3") << " 3" << 2;
    QTest::newRow(" 5 other") << " 5" << 4;
    QTest::newRow("3 without blank") << "3" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow(" 6") << " 6" << -1;
    QTest::newRow(" 0") << " 0" << -1;
    QTest::newRow("trailing blank") << " 1 " << -1;
}

void tst_DisplayFields::cardPictureFollowsTheCardType()
{
    QFETCH(QString, cardType);
    QFETCH(int, shown);
    MainWindowFixture f;
    // Moving from a card with a picture shows only the next card's.
    f.add(QStringLiteral("[Credit Cards]"), {{"Credit Card", "A"}, {"Card Type", " 2"}});
    f.add(QStringLiteral("[Credit Cards]"), {{"Credit Card", "B"}, {"Card Type", cardType}});
    frm_Main& main = f.show();
    QVERIFY(!main.findChild<QLabel*>(QStringLiteral("pb_CreditCardType_1"))->isHidden());
    QVERIFY(!main.dataControl(QStringLiteral("Credit"))->MoveNext());
    for (int i = 0; i < 5; ++i) {
        const auto* picture = main.findChild<QLabel*>(QStringLiteral("pb_CreditCardType_%1").arg(i));
        QCOMPARE(!picture->isHidden(), i == shown);
    }
    if (shown == 4) {
        QCOMPARE(f.text("sle_pbCreditCardType"), QStringLiteral("Other"));
    }
}

void tst_DisplayFields::webAddressBecomesALink_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("link");
    QTest::addColumn<int>("answer"); // to the question before an address of another scheme opens; 0: none asked
    QTest::addColumn<bool>("opens");
    QTest::newRow("bare") << "abc"
                          << "http://abc" << 0 << true;
    QTest::newRow("http") << "http://shop.example"
                          << "http://shop.example" << 0 << true;
    QTest::newRow("https") << "https://bank.example/login"
                           << "https://bank.example/login" << 0 << true;
    QTest::newRow("capitals") << "HTTP://shop.example"
                              << "HTTP://shop.example" << 0 << true;
    QTest::newRow("mail") << "mailto:ann@shop.example"
                          << "mailto:ann@shop.example" << 0 << true;
    QTest::newRow("other scheme, Yes") << "ftp://files.example"
                                       << "ftp://files.example" << platform::vbYes << true;
    QTest::newRow("other scheme, No") << "javascript:alert(1)"
                                      << "javascript:alert(1)" << platform::vbNo << false;
    // Shown as typed, never read as markup; no browser is asked to open a host like that.
    QTest::newRow("markup stays text") << "<b>x</b>"
                                       << "http://<b>x</b>" << 0 << false;
    QTest::newRow("empty") << ""
                           << "" << 0 << false;
}

void tst_DisplayFields::webAddressBecomesALink()
{
    QFETCH(QString, url);
    QFETCH(QString, link);
    QFETCH(int, answer);
    QFETCH(bool, opens);
    MainWindowFixture f;
    f.add(QStringLiteral("[Web Accounts]"), {{"Web Site", "Site"}, {"URL", url}});
    frm_Main& main = f.show();
    auto* label = main.findChild<WebLinkLabel*>(QStringLiteral("hl_WebURL"));
    QCOMPARE(label->caption(), link);
    QCOMPARE(label->address(), link);
    QVERIFY(!label->text().contains(QStringLiteral("<b>")));

    UrlCatcher catcher;
    const QStringList schemes{"http", "https", "mailto", "ftp", "javascript"};
    for (const QString& scheme : schemes) {
        QDesktopServices::setUrlHandler(scheme, &catcher, "open");
    }
    if (answer != 0) {
        f.seam.queueAnswer(answer);
    }
    const bool opened = label->openLink();
    for (const QString& scheme : schemes) {
        QDesktopServices::unsetUrlHandler(scheme);
    }
    QCOMPARE(opened, opens);
    QCOMPARE(catcher.opened.size(), opens ? 1 : 0);
    QCOMPARE(f.seam.messages.size(), answer != 0 ? 1 : 0);
    if (answer != 0) {
        QCOMPARE(f.seam.messages.at(0).flags, platform::vbQuestionYesNo);
        QVERIFY(f.seam.messages.at(0).text.contains(url));
    }
}

void tst_DisplayFields::travelWebAccountJumpsToItsWebAccount_data()
{
    QTest::addColumn<QString>("webAccount");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("shownProgram");
    QTest::addColumn<QString>("shownWeb");
    QTest::newRow("exists") << "Miles Site" << 2 << "B miles"
                            << "Miles Site";
    QTest::newRow("other case") << "miles site" << 2 << "B miles"
                                << "Miles Site";
    QTest::newRow("apostrophe") << "O'Hare's Club" << 2 << "B miles"
                                << "O'Hare's Club";
    QTest::newRow("missing") << "Nowhere" << 1 << "B miles"
                             << "Alpha";
    QTest::newRow("missing with apostrophe") << "No'where" << 1 << "B miles"
                                             << "Alpha";
}

void tst_DisplayFields::travelWebAccountJumpsToItsWebAccount()
{
    QFETCH(QString, webAccount);
    QFETCH(int, page);
    QFETCH(QString, shownProgram);
    QFETCH(QString, shownWeb);
    MainWindowFixture f;
    for (const char* site : {"Alpha", "Miles Site", "O'Hare's Club"}) {
        f.add(QStringLiteral("[Web Accounts]"), {{"Web Site", site}});
    }
    f.add(QStringLiteral("[Travel Programs]"), {{"Travel Program", "A miles"}});
    f.add(QStringLiteral("[Travel Programs]"), {{"Travel Program", "B miles"}, {"Web Account", webAccount}});
    frm_Main& main = f.show();
    main.showPage(QStringLiteral("Travel"));
    QVERIFY(!main.dataControl(QStringLiteral("Travel"))->MoveNext());
    QTest::mouseDClick(field(main, "sle_TravelWebAccount"), Qt::LeftButton);
    QCOMPARE(main.findChild<QTabWidget*>(QStringLiteral("tp_Data"))->currentIndex(), page);
    QCOMPARE(f.text("sle_TravelProgram"), shownProgram);
    QCOMPARE(f.text("sle_WebAccount"), shownWeb);
    QVERIFY(f.seam.messages.isEmpty());
}

void tst_DisplayFields::maskPasswordsTogglesAtOnce()
{
    MainWindowFixture f;
    f.add(QStringLiteral("[Web Accounts]"), {{"Web Site", "Site"}, {"Password", "s3cret"}});
    f.add(QStringLiteral("[Travel Programs]"), {{"Travel Program", "Miles"}, {"PIN Number", "1234"}});
    frm_Main& main = f.show();
    QLineEdit* password = field(main, "sle_WebPassword");
    QLineEdit* pin = field(main, "sle_TravelPINNumber");
    QAction* item = main.menuItem("mnu_ViewPasswords");
    // Masked by default, with "*" whatever the desktop would draw.
    QVERIFY(item->isChecked());
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    QCOMPARE(pin->echoMode(), QLineEdit::Password);
    QCOMPARE(password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password), int('*'));

    item->trigger();
    QVERIFY(!item->isChecked());
    QVERIFY(!main.ibool_MaskPasswords);
    QCOMPARE(main.istr_Settings[settings::ViewPasswords], QStringLiteral("0"));
    QCOMPARE(password->echoMode(), QLineEdit::Normal);
    QCOMPARE(pin->echoMode(), QLineEdit::Normal);

    item->trigger();
    QVERIFY(item->isChecked());
    QCOMPARE(main.istr_Settings[settings::ViewPasswords], QStringLiteral("1"));
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    QCOMPARE(password->text(), QStringLiteral("s3cret"));
    QVERIFY(f.seam.messages.isEmpty());
}

QTEST_MAIN(tst_DisplayFields)
#include "tst_DisplayFields.moc"
