#include "AccessCheck.h"
#include "ScriptedSeam.h"
#include "TestSupport.h"
#include "Windows.h"

#include <QApplication>
#include <QTest>

using testsupport::row;

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

} // namespace

class tst_KeyboardWalk : public QObject
{
    Q_OBJECT

private slots:
    void tabFollowsTheGivenOrderBothWays_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("order");
        row("personal", "Personal",
            QStringList{"sle_Name", "sle_Address", "sle_City", "ddlb_State", "sle_ZipCode", "sle_PhoneNumber",
                        "ddlb_EMailAddress", "cb_OK", "cb_Cancel"});
        row("web account", "Web",
            QStringList{"sle_WebSite", "ddlb_SiteType", "sle_URL", "ddlb_Login", "ddlb_Password", "cb_Generate",
                        "ddlb_EMailAddress", "mle_Notes", "cb_OK", "cb_Cancel"});
    }
    void tabFollowsTheGivenOrderBothWays()
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
    void cardTypeRowIsOneStopChosenWithArrows()
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
    void tabNeverStaysInOneControl_data()
    {
        QTest::addColumn<QString>("window");
        for (const QString& key : accesscheck::windowKeys()) {
            if (key != QLatin1String("Splash")) {
                QTest::newRow(qPrintable(key)) << key;
            }
        }
    }
    void tabNeverStaysInOneControl()
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
};

QTEST_MAIN(tst_KeyboardWalk)
#include "tst_KeyboardWalk.moc"
