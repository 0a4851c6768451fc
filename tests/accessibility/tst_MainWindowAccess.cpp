#include "AccessCheck.h"
#include "MainWindowFixture.h"
#include "TestSupport.h"
#include "Windows.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using testsupport::row;

using accesscheck::nameOf;

namespace {

// Three credit cards, a travel program with a PIN and a web account with a password, so that
// every page shows its fields.
void fill(MainWindowFixture& f)
{
    f.add(QStringLiteral("[Personal Information]"), {{"Name", "Ann"}, {"City", "Springfield"}});
    for (const char* card : {"Alpha", "Beta", "Gamma"}) {
        f.add(QStringLiteral("[Credit Cards]"), {{"Credit Card", card}, {"Card Type", " 2"}});
    }
    f.add(QStringLiteral("[Travel Programs]"), {{"Travel Program", "Miles"}, {"PIN Number", "4711"}});
    f.add(QStringLiteral("[Web Accounts]"),
          {{"Web Site", "Site"}, {"URL", "www.example.org"}, {"Password", "Hunter2Zq"}});
}

QLineEdit* field(frm_Main& main, const char* name)
{
    return main.findChild<QLineEdit*>(QString::fromLatin1(name));
}

QTabWidget* pages(frm_Main& main)
{
    return main.findChild<QTabWidget*>(QStringLiteral("tp_Data"));
}

} // namespace

class tst_MainWindowAccess : public QObject
{
    Q_OBJECT

private slots:
    void everyControlOnEveryPageIsNamed()
    {
        MainWindowFixture f;
        fill(f);
        frm_Main& main = f.show();
        for (int page = 0; page < pages(main)->count(); ++page) {
            pages(main)->setCurrentIndex(page);
            const QStringList unnamed = accesscheck::unnamedControls(&main);
            QVERIFY2(unnamed.isEmpty(), qPrintable(QStringLiteral("page %1: ").arg(page) + unnamed.join(", ")));
        }
    }
    void controlsSayWhatTheyAre_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("expected");
        // A display field says its help text, whatever the hover tooltip says at the moment.
        row("field", "sle_WebPassword", "Password for the web account");
        row("card picture", "pb_CreditCardType_1", "Visa");
        row("link", "hl_WebURL", "http://www.example.org");
        row("notes", "mle_TravelNotes", "Notes on the travel program");
    }
    void controlsSayWhatTheyAre()
    {
        QFETCH(QString, control);
        QFETCH(QString, expected);
        MainWindowFixture f;
        fill(f);
        frm_Main& main = f.show();
        auto* widget = main.findChild<QWidget*>(control);
        QVERIFY(widget != nullptr);
        widget->setToolTip(QString());
        QCOMPARE(nameOf(widget), expected);
    }
    void pagesAndRecordsChangeFromTheKeyboard()
    {
        MainWindowFixture f;
        fill(f);
        frm_Main& main = f.show();
        QVERIFY(accesscheck::showActive(&main));
        QTabWidget* tabs = pages(main);
        tabs->setCurrentIndex(0);
        // From a personal field, outside the pages.
        field(main, "sle_Name")->setFocus();
        QCOMPARE(f.text("sle_CreditCard"), QStringLiteral("Alpha"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End, Qt::AltModifier);
        QCOMPARE(f.text("sle_CreditCard"), QStringLiteral("Gamma"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(f.text("sle_CreditCard"), QStringLiteral("Beta"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home, Qt::AltModifier);
        QCOMPARE(f.text("sle_CreditCard"), QStringLiteral("Alpha"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(f.text("sle_CreditCard"), QStringLiteral("Beta"));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), 2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), 0);
        // The record keys move the page in front only.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End, Qt::AltModifier);
        QCOMPARE(f.text("sle_CreditCard"), QStringLiteral("Beta"));
        QCOMPARE(nameOf(main.findChild<QTabWidget*>("tp_Data")->widget(2)->findChild<QToolButton*>("cb_Next")),
                 QStringLiteral("Next, Web Accounts"));
        QVERIFY(f.seam.messages.isEmpty());
    }
    void tabLeavesEveryControl_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("start");
        QTest::addColumn<bool>("backward");
        for (const bool backward : {false, true}) {
            const char* way = backward ? "shift+tab" : "tab";
            // A focus holder takes the focus from a clicked display field; the fields it holds for
            // sent it straight back to the holder, so that Tab never got anywhere.
            QTest::addRow("personal holder, %s", way) << 0 << "pb_PersonalFocusBox" << backward;
            QTest::addRow("travel holder, %s", way) << 1 << "pb_TravelProgramFocusBox" << backward;
            QTest::addRow("credit notes, %s", way) << 0 << "mle_CreditNotes" << backward;
            QTest::addRow("travel notes, %s", way) << 1 << "mle_TravelNotes" << backward;
            QTest::addRow("web notes, %s", way) << 2 << "mle_WebNotes" << backward;
        }
    }
    void tabLeavesEveryControl()
    {
        QFETCH(int, page);
        QFETCH(QString, start);
        QFETCH(bool, backward);
        MainWindowFixture f;
        fill(f);
        frm_Main& main = f.show();
        QVERIFY(accesscheck::showActive(&main));
        pages(main)->setCurrentIndex(page);
        main.findChild<QWidget*>(start)->setFocus(Qt::MouseFocusReason);
        QCOMPARE(accesscheck::focusedName(), start);
        QStringList walk{start};
        for (int step = 0; step < 3; ++step) {
            walk << accesscheck::tabWalk(1, backward).first();
            const auto* field = qobject_cast<const QLineEdit*>(QApplication::focusWidget());
            QVERIFY2(field == nullptr || !field->isReadOnly(), qPrintable(walk.join(" > ")));
        }
        QVERIFY2(walk.at(1) != start, qPrintable(walk.join(" > ")));
    }
};

QTEST_MAIN(tst_MainWindowAccess)
#include "tst_MainWindowAccess.moc"
