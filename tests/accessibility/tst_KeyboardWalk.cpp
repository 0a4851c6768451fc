#include "AccessCheck.h"
#include "Accessibility.h"
#include "ScriptedSeam.h"
#include "Windows.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QStringList rotated(QStringList order)
{
    order.append(order.takeFirst());
    return order;
}

QStringList reversed(const QStringList& order)
{
    QStringList back;
    for (qsizetype i = order.size() - 1; i >= 0; --i) {
        back << order.at(i);
    }
    return back;
}

// A window like the main one: a field above three pages that each carry a navigation bar.
struct PagedWindow
{
    PagedWindow()
    {
        auto* layout = new QVBoxLayout(&window);
        above = new QLineEdit(&window);
        above->setObjectName(QStringLiteral("above"));
        layout->addWidget(above);
        pages = new QTabWidget(&window);
        layout->addWidget(pages);
        for (const QString& title :
             {QStringLiteral("&Credit Cards"), QStringLiteral("Travel Programs"), QStringLiteral("Web Accounts")}) {
            auto* page = new QWidget;
            auto* bar = new QVBoxLayout(page);
            for (const char* name : {"cb_First", "cb_Previous", "cb_Next", "cb_Last"}) {
                auto* button = new QToolButton(page);
                button->setObjectName(QString::fromLatin1(name));
                bar->addWidget(button);
            }
            pages->addTab(page, title);
        }
        accessibility::addPageButtons(
            pages, {{QStringLiteral("cb_First"), QStringLiteral("First"), QKeySequence(Qt::ALT | Qt::Key_Home)},
                    {QStringLiteral("cb_Previous"), QStringLiteral("Previous"), QKeySequence(Qt::ALT | Qt::Key_Left)},
                    {QStringLiteral("cb_Next"), QStringLiteral("Next"), QKeySequence(Qt::ALT | Qt::Key_Right)},
                    {QStringLiteral("cb_Last"), QStringLiteral("Last"), QKeySequence(Qt::ALT | Qt::Key_End)}});
    }

    QToolButton* button(int page, const char* name) const
    {
        return pages->widget(page)->findChild<QToolButton*>(QString::fromLatin1(name));
    }

    QWidget window;
    QLineEdit* above = nullptr;
    QTabWidget* pages = nullptr;
};

} // namespace

class tst_KeyboardWalk : public QObject
{
    Q_OBJECT

private slots:
    void tabFollowsTheGivenOrderBothWays_data();
    void tabFollowsTheGivenOrderBothWays();
    void cardTypeRowIsOneStopChosenWithArrows();
    void tabNeverStaysInOneControl_data();
    void tabNeverStaysInOneControl();
    void pageKeysWorkFromOutsideThePages_data();
    void pageKeysWorkFromOutsideThePages();
    void navigationKeysPressTheBarOfThePageInFront_data();
    void navigationKeysPressTheBarOfThePageInFront();
    void navigationButtonsNamedWithTheirPage();
};

void tst_KeyboardWalk::tabFollowsTheGivenOrderBothWays_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("personal") << "Personal" << QStringList{"sle_Name",          "sle_Address", "sle_City",
                                                           "ddlb_State",        "sle_ZipCode", "sle_PhoneNumber",
                                                           "ddlb_EMailAddress", "cb_OK",       "cb_Cancel"};
    QTest::newRow("credit card") << "Credit" << QStringList{"sle_CreditCard",     "ob_CreditCard_1",
                                                            "ddlb_AccountName",   "sle_AccountNumber",
                                                            "sle_ExpirationDate", "sle_PhoneNumber",
                                                            "mle_Notes",          "cb_OK",
                                                            "cb_Cancel"};
    QTest::newRow("travel program") << "Travel"
                                    << QStringList{"sle_TravelProgram", "ddlb_ProgramType", "ddlb_AccountName",
                                                   "sle_AccountNumber", "sle_PIN",          "ddlb_WebAccount",
                                                   "sle_PhoneNumber",   "mle_Notes",        "cb_OK",
                                                   "cb_Cancel"};
    QTest::newRow("web account") << "Web" << QStringList{"sle_WebSite", "ddlb_SiteType", "sle_URL",
                                                         "ddlb_Login",  "ddlb_Password", "ddlb_EMailAddress",
                                                         "mle_Notes",   "cb_OK",         "cb_Cancel"};
    QTest::newRow("login") << "Login" << QStringList{"sle_Password", "cb_OK", "cb_Cancel"};
    QTest::newRow("password check") << "Check" << QStringList{"sle_Password", "cb_OK", "cb_Cancel"};
    QTest::newRow("change password") << "Password"
                                     << QStringList{"sle_OldPassword", "sle_NewPassword", "sle_NewPasswordAgain",
                                                    "cb_OK", "cb_Cancel"};
}

void tst_KeyboardWalk::tabFollowsTheGivenOrderBothWays()
{
    QFETCH(QString, window);
    QFETCH(QStringList, order);
    testsupport::ScriptedSeam seam;
    auto shown = accesscheck::makeWindow(window);
    QVERIFY(accesscheck::showActive(shown.get()));
    shown->findChild<QWidget*>(order.first())->setFocus(Qt::TabFocusReason);
    // A name first: an empty name field keeps the focus until one is typed.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Ann"));

    QCOMPARE(accesscheck::tabWalk(static_cast<int>(order.size())), rotated(order));
    QCOMPARE(accesscheck::tabWalk(static_cast<int>(order.size()), true), reversed(order));
    QVERIFY(seam.messages.isEmpty());
}

void tst_KeyboardWalk::cardTypeRowIsOneStopChosenWithArrows()
{
    // The card pictures behave as one group of option buttons: Tab reaches the group once, the
    // arrow keys move within it and Space chooses.
    testsupport::ScriptedSeam seam;
    auto shown = accesscheck::makeWindow(QStringLiteral("Credit"));
    QVERIFY(accesscheck::showActive(shown.get()));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Visa Gold"));
    QCOMPARE(accesscheck::tabWalk(1), QStringList{"ob_CreditCard_1"});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QCOMPARE(accesscheck::focusedName(), QStringLiteral("ob_CreditCard_3"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(shown->findChild<QWidget*>(QStringLiteral("og_CardInfo"))->property("Tag").toString(),
             QStringLiteral(" 3"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QCOMPARE(shown->findChild<QWidget*>(QStringLiteral("og_CardInfo"))->property("Tag").toString(),
             QStringLiteral(" 4"));
    QCOMPARE(accesscheck::tabWalk(1), QStringList{"ddlb_AccountName"});
    // Back into the group lands on the chosen card.
    QCOMPARE(accesscheck::tabWalk(1, true), QStringList{"ob_CreditCard_4"});
    QVERIFY(seam.messages.isEmpty());
}

void tst_KeyboardWalk::tabNeverStaysInOneControl_data()
{
    QTest::addColumn<QString>("window");
    for (const QString& key : accesscheck::windowKeys()) {
        if (key != QLatin1String("Splash")) {
            QTest::newRow(qPrintable(key)) << key;
        }
    }
}

void tst_KeyboardWalk::tabNeverStaysInOneControl()
{
    QFETCH(QString, window);
    testsupport::ScriptedSeam seam;
    auto shown = accesscheck::makeWindow(window);
    QVERIFY(accesscheck::showActive(shown.get()));
    const QString first = accesscheck::focusedName();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Ann"));
    QStringList seen{first};
    for (int step = 0; step < 40; ++step) {
        const QString before = accesscheck::focusedName();
        // A label with a link takes one Tab for the label and one for the link.
        QString after = before;
        for (int press = 0; press < 3 && after == before; ++press) {
            after = accesscheck::tabWalk(1).first();
        }
        QVERIFY2(after != before, qPrintable(QStringLiteral("Tab stayed in ") + before));
        if (after == first) {
            return;
        }
        seen << after;
    }
    QFAIL(qPrintable(QStringLiteral("Tab never came back to the start: ") + seen.join(QStringLiteral(" > "))));
}

void tst_KeyboardWalk::pageKeysWorkFromOutsideThePages_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("middleDisabled");
    QTest::addColumn<int>("expected");
    const auto ctrl = Qt::KeyboardModifiers(Qt::ControlModifier);
    const auto ctrlShift = Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier);
    QTest::newRow("ctrl+tab") << 0 << int(Qt::Key_Tab) << ctrl << false << 1;
    QTest::newRow("ctrl+tab wraps") << 2 << int(Qt::Key_Tab) << ctrl << false << 0;
    QTest::newRow("ctrl+pgdn") << 1 << int(Qt::Key_PageDown) << ctrl << false << 2;
    QTest::newRow("ctrl+pgup wraps") << 0 << int(Qt::Key_PageUp) << ctrl << false << 2;
    QTest::newRow("ctrl+shift+tab") << 2 << int(Qt::Key_Tab) << ctrlShift << false << 1;
    QTest::newRow("ctrl+shift+backtab") << 2 << int(Qt::Key_Backtab) << ctrlShift << false << 1;
    QTest::newRow("disabled page skipped") << 0 << int(Qt::Key_Tab) << ctrl << true << 2;
}

void tst_KeyboardWalk::pageKeysWorkFromOutsideThePages()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, middleDisabled);
    QFETCH(int, expected);
    PagedWindow paged;
    paged.pages->setCurrentIndex(start);
    paged.pages->setTabEnabled(1, !middleDisabled);
    QVERIFY(accesscheck::showActive(&paged.window));
    paged.above->setFocus();
    QTest::keyClick(paged.above, Qt::Key(key), modifiers);
    QCOMPARE(paged.pages->currentIndex(), expected);
}

void tst_KeyboardWalk::navigationKeysPressTheBarOfThePageInFront_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("button");
    QTest::newRow("alt+home") << int(Qt::Key_Home) << "cb_First";
    QTest::newRow("alt+left") << int(Qt::Key_Left) << "cb_Previous";
    QTest::newRow("alt+right") << int(Qt::Key_Right) << "cb_Next";
    QTest::newRow("alt+end") << int(Qt::Key_End) << "cb_Last";
}

void tst_KeyboardWalk::navigationKeysPressTheBarOfThePageInFront()
{
    QFETCH(int, key);
    QFETCH(QString, button);
    PagedWindow paged;
    paged.pages->setCurrentIndex(1);
    QVERIFY(accesscheck::showActive(&paged.window));
    paged.above->setFocus();
    QList<std::shared_ptr<QSignalSpy>> clicks;
    for (int page = 0; page < 3; ++page) {
        clicks << std::make_shared<QSignalSpy>(paged.button(page, qPrintable(button)), &QToolButton::clicked);
    }

    QTest::keyClick(paged.above, Qt::Key(key), Qt::AltModifier);
    QCOMPARE(clicks.at(0)->count(), 0);
    QCOMPARE(clicks.at(1)->count(), 1);
    QCOMPARE(clicks.at(2)->count(), 0);

    // A disabled button (no record further that way) is not pressed.
    paged.button(1, qPrintable(button))->setEnabled(false);
    QTest::keyClick(paged.above, Qt::Key(key), Qt::AltModifier);
    QCOMPARE(clicks.at(1)->count(), 1);
}

void tst_KeyboardWalk::navigationButtonsNamedWithTheirPage()
{
    PagedWindow paged;
    QCOMPARE(accesscheck::nameOf(paged.button(0, "cb_First")), QStringLiteral("First, Credit Cards"));
    QCOMPARE(accesscheck::nameOf(paged.button(2, "cb_Previous")), QStringLiteral("Previous, Web Accounts"));
    QCOMPARE(accesscheck::nameOf(paged.button(1, "cb_Last")), QStringLiteral("Last, Travel Programs"));
}

QTEST_MAIN(tst_KeyboardWalk)
#include "tst_KeyboardWalk.moc"
