// The help that follows the pointer over the main window's display fields.

#include "HoverHelp.h"
#include "MainWindowFixture.h"
#include "TestSupport.h"
#include "cMouseTrack.h"

#include <QAction>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

using testsupport::row;

Q_DECLARE_METATYPE(Category)

namespace {

const QColor kBlue(0, 0, 255);
// The text colour of a dark desktop theme; a field takes it again when the pointer leaves.
const QColor kThemeText(230, 230, 230);

QColor colour(const QLineEdit* edit)
{
    return edit->palette().color(QPalette::Text);
}

} // namespace

class tst_HoverHelp : public QObject
{
    Q_OBJECT

private slots:
    void restingShowsTheHelpText_data()
    {
        QTest::addColumn<Category>("page");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("secret");
        QTest::addColumn<bool>("masking");
        QTest::addColumn<QString>("tooltip");
        // A name field says what it is even while empty. A secret one is in clear while the pointer
        // is on it, and masked again after as the window masks.
        row("empty name", Category::Credit, "sle_Name", false, true, "Name of the user");
        row("filled", Category::Credit, "sle_City", false, true, "City of the user");
        row("password, masked", Category::Web, "sle_WebPassword", true, true, "Password for the web account");
        row("password, in clear", Category::Web, "sle_WebPassword", true, false, "Password for the web account");
        row("PIN, masked", Category::Travel, "sle_TravelPINNumber", true, true, "PIN Number for the travel program");
    }
    void restingShowsTheHelpText()
    {
        QFETCH(Category, page);
        QFETCH(QString, name);
        QFETCH(bool, secret);
        QFETCH(bool, masking);
        QFETCH(QString, tooltip);
        MainWindowFixture f;
        f.add("[Personal Information]", {{"City", "x"}});
        f.add("[Web Accounts]", {{"Web Site", "Site"}, {"Password", "s3cr3t"}});
        f.add("[Travel Programs]", {{"Travel Program", "Miles"}, {"PIN Number", "2468"}});
        frm_Main& main = f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QPalette dark = main.palette();
        dark.setColor(QPalette::Text, kThemeText);
        main.setPalette(dark);
        if (!masking) {
            main.menuItem("mnu_ViewPasswords")->trigger();
        }
        main.showPage(page);
        auto* help = main.findChild<HoverHelp*>();
        help->setHoverTime(30);
        QLineEdit* edit = main.findChild<QLineEdit*>(name);
        const QLineEdit::EchoMode shown = edit->echoMode();
        QCOMPARE(shown, secret && masking ? QLineEdit::Password : QLineEdit::Normal);
        // What an earlier rest left; a rest on an empty field must take it away.
        edit->setToolTip(QStringLiteral("earlier"));
        QSignalSpy hover(help->tracker(name), &cMouseTrack::MouseHover);
        const auto moveTo = [&](QWidget* w) {
            QTest::mouseMove(main.windowHandle(), w->mapTo(&main, w->rect().center()));
        };
        const auto moveAway = [&] { QTest::mouseMove(main.windowHandle(), QPoint(main.width() - 5, 5)); };
        moveAway();

        moveTo(edit);
        QCOMPARE(colour(edit), kBlue);
        QCOMPARE(edit->echoMode(), QLineEdit::Normal);
        QTRY_VERIFY(!hover.isEmpty());
        QCOMPARE(edit->toolTip(), tooltip);
        QCOMPARE(colour(edit), kBlue);
        QCOMPARE(edit->echoMode(), QLineEdit::Normal);
        // Started again from the hover: a further rest is reported too.
        QVERIFY(help->tracker(name)->Tracking());

        moveAway();
        QTRY_COMPARE(colour(edit), kThemeText);
        QCOMPARE(edit->toolTip(), tooltip);
        QCOMPARE(edit->echoMode(), shown);

        // A page change hides the field under the pointer: it must not stay in clear.
        moveTo(edit);
        QCOMPARE(edit->echoMode(), QLineEdit::Normal);
        edit->hide();
        QTRY_COMPARE(colour(edit), kThemeText);
        QCOMPARE(edit->echoMode(), shown);
    }
};

QTEST_MAIN(tst_HoverHelp)
#include "tst_HoverHelp.moc"
