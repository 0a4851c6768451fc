// What a screen reader and a person without a mouse get from every window: a name for every
// control, a Tab that always moves on, keys for the pages and records, and masked fields that
// keep their secret. bus_check.py reads the real program on the desktop's bus.

#include "MainWindowFixture.h"
#include "PasswordPrompt.h"
#include "TestSupport.h"
#include "frm_About.h"
#include "frm_CreditCards.h"
#include "frm_Find.h"
#include "frm_Password.h"
#include "frm_PasswordReport.h"
#include "frm_PersonalInformation.h"
#include "frm_Splash.h"
#include "frm_TravelPrograms.h"
#include "frm_WebAccounts.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using testsupport::row;

namespace {

template <typename T> std::unique_ptr<QWidget> make()
{
    return std::make_unique<T>();
}

// Every window but the main one.
const QList<QPair<const char*, std::unique_ptr<QWidget> (*)()>> kWindows = {{"Personal", make<frm_PersonalInformation>},
                                                                            {"Credit", make<frm_CreditCards>},
                                                                            {"Travel", make<frm_TravelPrograms>},
                                                                            {"Web", make<frm_WebAccounts>},
                                                                            {"Login", make<frm_Login>},
                                                                            {"Check", make<frm_PasswordCheck>},
                                                                            {"Password", make<frm_Password>},
                                                                            {"About", make<frm_About>},
                                                                            {"Splash", make<frm_Splash>},
                                                                            {"Find", make<frm_Find>},
                                                                            {"Report", make<frm_PasswordReport>}};

const QString kSecret = QStringLiteral("Hunter2Zq");

// Three credit cards, a travel program with a PIN and a web account with a password, so that
// every page shows its fields.
void fill(MainWindowFixture& f)
{
    f.add("[Personal Information]", {{"Name", "Ann"}, {"City", "Springfield"}});
    for (const char* card : {"Alpha", "Beta", "Gamma"}) {
        f.add("[Credit Cards]", {{"Credit Card", card}, {"Card Type", " 2"}});
    }
    f.add("[Travel Programs]", {{"Travel Program", "Miles"}, {"PIN Number", "4711"}});
    f.add("[Web Accounts]", {{"Web Site", "Site"}, {"URL", "www.example.org"}, {"Password", "Hunter2Zq"}});
}

QTabWidget* pages(frm_Main& main)
{
    return main.findChild<QTabWidget*>("tp_Data");
}

bool showActive(QWidget* window)
{
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

QString nameOf(QWidget* control)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
    return face != nullptr ? face->text(QAccessible::Name).trimmed() : QString();
}

// Anything a person can see and read or use: fields, buttons, pictures, captions, anything that
// takes the focus; not the viewport and scroll bars, which are parts of their box.
bool isControl(const QWidget* widget)
{
    if (qobject_cast<const QScrollBar*>(widget) || qobject_cast<const QAbstractScrollArea*>(widget->parentWidget())) {
        return false;
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return !label->text().trimmed().isEmpty() || !label->pixmap().isNull();
    }
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
        return !frame->title().isEmpty();
    }
    return widget->focusPolicy() != Qt::NoFocus || qobject_cast<const QAbstractButton*>(widget) ||
           qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractScrollArea*>(widget) || qobject_cast<const QTabBar*>(widget);
}

QStringList unnamedControls(QWidget* window)
{
    QStringList unnamed;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->isVisibleTo(window) && isControl(widget) && nameOf(widget).isEmpty()) {
            unnamed << QStringLiteral("%1 (%2)").arg(widget->objectName(), widget->metaObject()->className());
        }
    }
    return unnamed;
}

// The control holding the focus, an editable combo box rather than the line edit inside it.
QString focusedName()
{
    QWidget* focused = QApplication::focusWidget();
    if (focused != nullptr && qobject_cast<QComboBox*>(focused->parentWidget())) {
        focused = focused->parentWidget();
    }
    return focused != nullptr ? focused->objectName() : QString();
}

QString tab(bool backward = false)
{
    QTest::keyClick(QApplication::focusWidget(), backward ? Qt::Key_Backtab : Qt::Key_Tab,
                    backward ? Qt::ShiftModifier : Qt::NoModifier);
    return focusedName();
}

// Everything the interface of a field tells about its text.
QStringList exposedTexts(QWidget* field)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(field);
    QStringList texts;
    for (QAccessible::Text kind : {QAccessible::Name, QAccessible::Value, QAccessible::Description, QAccessible::Help,
                                   QAccessible::Accelerator}) {
        texts << face->text(kind);
    }
    if (QAccessibleTextInterface* text = face->textInterface()) {
        const int count = text->characterCount();
        texts << text->text(0, std::max(count, int(kSecret.size())));
        for (int offset = 0; offset <= count; ++offset) {
            int start = 0;
            int end = 0;
            for (QAccessible::TextBoundaryType boundary : {QAccessible::CharBoundary, QAccessible::WordBoundary,
                                                           QAccessible::LineBoundary, QAccessible::NoBoundary}) {
                texts << text->textAtOffset(offset, boundary, &start, &end)
                      << text->textBeforeOffset(offset, boundary, &start, &end)
                      << text->textAfterOffset(offset, boundary, &start, &end);
            }
        }
    }
    return texts;
}

bool revealsSecret(const QStringList& texts)
{
    for (const QString& text : texts) {
        // Any three characters of the secret in a row would tell too much.
        for (qsizetype i = 0; i + 3 <= kSecret.size(); ++i) {
            if (text.contains(kSecret.mid(i, 3))) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

class tst_Accessibility : public QObject
{
    Q_OBJECT

private slots:
    void everyControlIsNamedAndTabMovesOn_data()
    {
        QTest::addColumn<int>("window"); // into kWindows; past its end, a page of the main window
        for (int i = 0; i < kWindows.size(); ++i) {
            QTest::newRow(kWindows[i].first) << i;
        }
        for (int page = 0; page < 3; ++page) {
            QTest::addRow("main window, page %d", page) << int(kWindows.size()) + page;
        }
    }
    // Every window's controls have names; in every dialog Tab leaves each control and comes back
    // round to the first (the main window's own walk is the next test's).
    void everyControlIsNamedAndTabMovesOn()
    {
        QFETCH(int, window);
        MainWindowFixture f;
        fill(f);
        if (window >= kWindows.size()) {
            f.show();
            pages(f.main())->setCurrentIndex(window - int(kWindows.size()));
            const QStringList unnamed = unnamedControls(&f.main());
            QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
            return;
        }
        auto shown = kWindows[window].second();
        const QStringList unnamed = unnamedControls(shown.get());
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
        if (kWindows[window].first == QLatin1String("Splash")) {
            return; // nothing to focus
        }
        QVERIFY(showActive(shown.get()));
        const QString first = focusedName();
        // A name first: an empty name field keeps the focus until one is typed.
        QTest::keyClicks(QApplication::focusWidget(), "Ann");
        QStringList seen{first};
        for (int step = 0; step < 40; ++step) {
            const QString before = focusedName();
            // A label with a link takes one Tab for the label and one for the link.
            QString after = before;
            for (int press = 0; press < 3 && after == before; ++press) {
                after = tab();
            }
            QVERIFY2(after != before, qPrintable("Tab stayed in " + before));
            if (after == first) {
                return;
            }
            seen << after;
        }
        QFAIL(qPrintable("Tab never came back to the start: " + seen.join(" > ")));
    }

    void cardTypeRowIsOneStopChosenWithArrows()
    {
        // The card pictures behave as one group of option buttons: Tab reaches the group once, the
        // arrow keys move within it and Space chooses.
        testsupport::ScriptedSeam seam;
        frm_CreditCards dialog;
        QVERIFY(showActive(&dialog));
        QTest::keyClicks(QApplication::focusWidget(), "Visa Gold");
        QCOMPARE(tab(), "ob_CreditCard_1");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(focusedName(), "ob_CreditCard_3");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(dialog.findChild<QWidget*>("og_CardInfo")->property("Tag").toString(), " 3");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(dialog.findChild<QWidget*>("og_CardInfo")->property("Tag").toString(), " 4");
        QCOMPARE(tab(), "ddlb_AccountName");
        // Back into the group lands on the chosen card.
        QCOMPARE(tab(true), "ob_CreditCard_4");
        QVERIFY(seam.messages.isEmpty());
    }

    // Records listed without regard to case, moved through with the keys of the page in front
    // from wherever the focus is; an empty page offers no move.
    void pagesAndRecordsChangeFromTheKeyboard()
    {
        MainWindowFixture f;
        for (const char* name : {"visa", "Amex", "Discover"}) {
            f.add("[Credit Cards]", {{"Credit Card", name}});
        }
        f.add("[Web Accounts]", {{"Web Site", "Site"}});
        frm_Main& main = f.show();
        QVERIFY(showActive(&main));
        QTabWidget* tabs = pages(main);
        main.findChild<QLineEdit*>("sle_Name")->setFocus(); // outside the pages
        QStringList seen{f.text("sle_CreditCard")};
        // The third Right is past the end: the record stays.
        for (const Qt::Key key :
             {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Left, Qt::Key_Home, Qt::Key_End, Qt::Key_Left}) {
            QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
            seen << f.text("sle_CreditCard");
        }
        QCOMPARE(seen, (QStringList{"Amex", "Discover", "visa", "visa", "Discover", "Amex", "visa", "Discover"}));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), 1);
        for (const char* button : {"cb_First", "cb_Previous", "cb_Next", "cb_Last"}) {
            QVERIFY2(!tabs->widget(1)->findChild<QToolButton*>(button)->isEnabled(), button);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), 2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End, Qt::AltModifier);
        QCOMPARE(f.text("sle_CreditCard"), "Discover"); // the page in front only
        QVERIFY(f.seam.messages.isEmpty());
    }

    void tabLeavesEveryControlOfTheMainWindow_data()
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
            QTest::addRow("notes, %s", way) << 2 << "mle_WebNotes" << backward;
        }
    }
    void tabLeavesEveryControlOfTheMainWindow()
    {
        QFETCH(int, page);
        QFETCH(QString, start);
        QFETCH(bool, backward);
        MainWindowFixture f;
        fill(f);
        frm_Main& main = f.show();
        QVERIFY(showActive(&main));
        pages(main)->setCurrentIndex(page);
        main.findChild<QWidget*>(start)->setFocus(Qt::MouseFocusReason);
        QCOMPARE(focusedName(), start);
        QStringList walk{start};
        for (int step = 0; step < 3; ++step) {
            walk << tab(backward);
            const auto* field = qobject_cast<const QLineEdit*>(QApplication::focusWidget());
            QVERIFY2(field == nullptr || !field->isReadOnly(), qPrintable(walk.join(" > ")));
        }
        QVERIFY2(walk.at(1) != start, qPrintable(walk.join(" > ")));
    }

    void maskedFieldKeepsItsSecret_data()
    {
        QTest::addColumn<bool>("masked");
        row("masked", true);
        // The same reading of the box in clear finds the secret: the check can fail.
        row("in clear", false);
    }
    void maskedFieldKeepsItsSecret()
    {
        QFETCH(bool, masked);
        testsupport::ScriptedSeam seam;
        frm_Login login;
        QVERIFY(showActive(&login));
        auto* box = login.findChild<QLineEdit*>("sle_Password");
        QCOMPARE(box->echoMode(), QLineEdit::Password);
        box->setFocus();
        QTest::keyClicks(box, kSecret);
        QTest::keyClick(box, Qt::Key_Left);
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(box->text().size(), kSecret.size() - 1);
        if (!masked) {
            box->setEchoMode(QLineEdit::Normal);
            QVERIFY(revealsSecret(exposedTexts(box)));
            return;
        }
        const QStringList texts = exposedTexts(box);
        QVERIFY2(!revealsSecret(texts), qPrintable(texts.join(" | ")));
        // Still a field the reader can tell is filled: one mask character per character typed, as
        // its value and as its text.
        const QString drawn(kSecret.size() - 1, QLatin1Char('*'));
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(box);
        QCOMPARE(face->text(QAccessible::Value), drawn);
        QVERIFY(face->textInterface() != nullptr);
        QCOMPARE(face->textInterface()->characterCount(), int(drawn.size()));
        QCOMPARE(face->textInterface()->text(0, int(drawn.size())), drawn);
    }
};

QTEST_MAIN(tst_Accessibility)
#include "tst_Accessibility.moc"
