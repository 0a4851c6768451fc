#include "EditingTestData.h"
#include "MaskedEdit.h"
#include "ScriptedSeam.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QWindow>

using namespace editingtest;
using testsupport::row;

// How a test tries to move the focus out of a field.
enum class Leave { Tab, Backtab, Click, CancelThenOk };
Q_DECLARE_METATYPE(Leave)

namespace {

bool showActive(QDialog* dialog)
{
    dialog->show();
    QApplication::setActiveWindow(dialog);
    return QTest::qWaitForWindowActive(dialog);
}

// A click as the desktop delivers it: through the dialog's window, at the control's centre.
void click(QDialog* dialog, QWidget* control)
{
    QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      control->mapTo(dialog, control->rect().center()));
}

void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// Each character as the desktop delivers it: a key press carrying the character's text.
void type(const QString& text)
{
    for (QChar c : text) {
        const auto code = c.unicode() < 0x80 && c.isLetterOrNumber() ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), code, QString(c), Qt::NoModifier);
    }
}

bool hasFocus(QWidget* field)
{
    QWidget* focused = QApplication::focusWidget();
    return focused != nullptr && (focused == field || field->isAncestorOf(focused));
}

QWidget* control(QWidget* dialog, const QString& name)
{
    return dialog->findChild<QWidget*>(name);
}

} // namespace

class tst_EditDialogs : public QObject
{
    Q_OBJECT

private slots:
    void keysAndButtonsCloseTheDialog_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("field"); // where the focus is
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("saved");
        row("Enter from the web name", "Web", "sle_WebSite", "enter", true);
        row("Enter from the travel PIN", "Travel", "sle_PIN", "enter", true);
        row("Enter from a card type button", "Credit", "ob_CreditCard_4", "enter", true);
        row("Enter from the personal zip", "Personal", "sle_ZipCode", "enter", true);
        row("Shift+Enter breaks a line in the notes", "Travel", "mle_Notes", "shift", true);
        row("Ctrl+Enter breaks a line in the notes", "Web", "mle_Notes", "ctrl", true);
        // Cancelling checks nothing: the zip is left unfinished.
        row("Esc", "Personal", "sle_ZipCode", "esc", false);
        row("Cancel clicked", "Personal", "sle_ZipCode", "click", false);
        row("close box", "Personal", "sle_ZipCode", "close", false);
    }
    void keysAndButtonsCloseTheDialog()
    {
        QFETCH(QString, category);
        QFETCH(QString, field);
        QFETCH(QString, way);
        QFETCH(bool, saved);
        DataFile file;
        testsupport::ScriptedSeam seam;
        auto dialog = dialogFor(category);
        dialog->Form_Load(QStringLiteral("0"));
        QVERIFY(showActive(dialog.get()));
        type(QStringLiteral("Named"));
        control(dialog.get(), field)->setFocus();
        const bool lineBreak = way == QLatin1String("shift") || way == QLatin1String("ctrl");
        if (lineBreak) {
            type(QStringLiteral("one"));
            key(Qt::Key_Return, way == QLatin1String("shift") ? Qt::ShiftModifier : Qt::ControlModifier);
            type(QStringLiteral("two"));
            QVERIFY(dialog->isVisible());
            key(Qt::Key_Enter, Qt::KeypadModifier);
        } else if (way == QLatin1String("enter")) {
            key(Qt::Key_Return);
        } else {
            type(QStringLiteral("12"));
            if (way == QLatin1String("esc")) {
                key(Qt::Key_Escape);
            } else if (way == QLatin1String("click")) {
                click(dialog.get(), control(dialog.get(), "cb_Cancel"));
            } else {
                dialog->close();
            }
        }

        QVERIFY(seam.messages.isEmpty());
        QCOMPARE(dialog->result(), int(saved ? QDialog::Accepted : QDialog::Rejected));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(rowCount(category), saved ? 1 : 0);
        if (saved) {
            const QVariantMap row = storedRow(category, dialog->istr_RecordID.toLongLong());
            QCOMPARE(row.value(categories::named(category)->nameField.mid(1).chopped(1)), QVariant("Named"));
            QCOMPARE(row.value("Notes").toString(), QString(lineBreak ? "one\ntwo" : ""));
        }
    }

    // Every way text gets into a filtered field goes through its filter; pasted text that does not
    // fit is refused whole, with a word. The field holds "ab" already: text the program puts in is
    // not filtered. (The rules are tabled in tst_InputRules; typing into the state's list and the
    // editing keys are driven in the real-window test.)
    void everyWayInIsFiltered_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<bool>("refused");
        row("typed card number", "Credit", "sle_AccountNumber", "type", "41 1a.1", "ab4111", 3, false);
        row("typed unicode login", "Web", "ddlb_Login", "type", QString::fromUtf8("é€Ω?"), QString::fromUtf8("abé€Ω?"),
            0, false);
        for (const char* way : {"ctrl+v", "shift+insert", "menu", "drop"}) {
            const QByteArray w = QByteArray(way) + ": ";
            row(w + "card number", "Credit", "sle_AccountNumber", way, "4111 11-1 a", "ab4111111", 1, false);
            row(w + "fills the box", "Web", "ddlb_Login", way, "12345678", "ab12345678", 0, false);
            row(w + "longer than the box", "Web", "ddlb_Login", way, "123456789", "ab", 0, true);
        }
        row("login with a line end", "Web", "ddlb_Login", "ctrl+v", "jo@x.com\n", "abjo@x.com", 1, false);
        // Characters composed by an input method arrive as committed text rather than as key presses.
        row("composed", "Credit", "sle_AccountNumber", "compose", "4a1", "ab41", 1, false);
    }
    void everyWayInIsFiltered()
    {
        QFETCH(QString, category);
        QFETCH(QString, field);
        QFETCH(QString, way);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(int, beeps);
        QFETCH(bool, refused);
        DataFile file;
        testsupport::ScriptedSeam seam;
        auto dialog = dialogFor(category);
        dialog->Form_Load(QStringLiteral("0"));
        QVERIFY(showActive(dialog.get()));
        QWidget* filtered = control(dialog.get(), field);
        auto* combo = qobject_cast<QComboBox*>(filtered);
        QLineEdit* line = combo != nullptr ? combo->lineEdit() : qobject_cast<QLineEdit*>(filtered);
        line->setMaxLength(10);
        line->setText("ab");
        filtered->setFocus();
        QGuiApplication::clipboard()->setText(text);
        if (way == "type") {
            type(text);
        } else if (way == "compose") {
            QInputMethodEvent composed;
            composed.setCommitString(text);
            QApplication::sendEvent(line, &composed);
        } else if (way == "ctrl+v") {
            key(Qt::Key_V, Qt::ControlModifier);
        } else if (way == "shift+insert") {
            key(Qt::Key_Insert, Qt::ShiftModifier);
        } else if (way == "menu") {
            QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(2, 2), line->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(line, &menuKey);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            for (QAction* action : menu->actions()) {
                if (action->text().startsWith("&Paste")) {
                    action->trigger();
                }
            }
            menu->close();
        } else {
            QMimeData data;
            data.setText(text);
            const QPoint end(line->width() - 2, 5);
            QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(line, &enter);
            QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(line, &drop);
        }
        QCOMPARE(line->text(), shown);
        QCOMPARE(seam.beeps, beeps);
        QCOMPARE(seam.messages.size(), refused ? 1 : 0);
    }

    void leavingFieldRunsItsCheck_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Leave>("leave");
        QTest::addColumn<QString>("target"); // the control clicked
        QTest::addColumn<QString>("message");

        const char* zip = "Please enter a five digit zip code.";
        const char* phone = "Please enter a ten digit phone number.";
        const char* name = "Please enter a name.";
        row("short zip, Tab", "Personal", "sle_ZipCode", "1234", Leave::Tab, "", zip);
        row("short zip, click on a button", "Personal", "sle_ZipCode", "12", Leave::Click, "cb_OK", zip);
        row("short phone, click on a field", "Personal", "sle_PhoneNumber", "55512", Leave::Click, "sle_Name", phone);
        row("empty name, click on a combo box", "Web", "sle_WebSite", "", Leave::Click, "ddlb_Login", name);
        row("empty name, click on a card type", "Credit", "sle_CreditCard", "", Leave::Click, "ob_CreditCard_1", name);
        row("empty phone", "Personal", "sle_PhoneNumber", "", Leave::Click, "sle_City", "");
        row("credit card phone is not checked", "Credit", "sle_PhoneNumber", "555", Leave::Tab, "", "");
        row("credit card date is not checked", "Credit", "sle_ExpirationDate", "1", Leave::Click, "sle_AccountNumber",
            "");
        row("empty name, Backtab to Cancel", "Web", "sle_WebSite", "", Leave::Backtab, "cb_Cancel", "");
        row("short zip, click on Cancel's edge and on to OK", "Personal", "sle_ZipCode", "12", Leave::CancelThenOk, "",
            zip);
        row("empty name, Backtab to Cancel and on to OK", "Credit", "sle_CreditCard", "", Leave::CancelThenOk, "",
            name);
    }
    void leavingFieldRunsItsCheck()
    {
        QFETCH(QString, category);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(Leave, leave);
        QFETCH(QString, target);
        QFETCH(QString, message);
        DataFile file;
        testsupport::ScriptedSeam seam;
        auto dialog = dialogFor(category);
        dialog->Form_Load(QStringLiteral("0"));
        QVERIFY(showActive(dialog.get()));
        QWidget* checked = control(dialog.get(), field);
        checked->setFocus();
        if (auto* masked = qobject_cast<MaskedEdit*>(checked)) {
            masked->home(false);
        }
        type(typed);
        if (leave == Leave::Tab) {
            key(Qt::Key_Tab);
        } else if (leave == Leave::Backtab) {
            key(Qt::Key_Backtab, Qt::ShiftModifier);
        } else if (leave == Leave::CancelThenOk) {
            // Pressed on Cancel and let go beside it: the focus is on Cancel and nothing was checked.
            QWidget* cancel = control(dialog.get(), "cb_Cancel");
            if (category == QLatin1String("Personal")) {
                QTest::mousePress(dialog->windowHandle(), Qt::LeftButton, {},
                                  cancel->mapTo(dialog.get(), QPoint(3, 3)));
                QTest::mouseRelease(dialog->windowHandle(), Qt::LeftButton, {}, QPoint(2, 2));
            } else {
                key(Qt::Key_Backtab, Qt::ShiftModifier);
            }
            QVERIFY(hasFocus(cancel));
            QVERIFY(seam.messages.isEmpty());
            click(dialog.get(), control(dialog.get(), "cb_OK"));
        } else {
            click(dialog.get(), control(dialog.get(), target));
        }

        if (message.isEmpty()) {
            QVERIFY(seam.messages.isEmpty());
            QVERIFY(!hasFocus(checked));
            if (!target.isEmpty()) {
                QVERIFY(hasFocus(control(dialog.get(), target)));
            }
            return;
        }
        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages.at(0).text, message);
        QCOMPARE(seam.messages.at(0).title, QStringLiteral("Invalid"));
        QCOMPARE(seam.messages.at(0).flags, 64);
        QVERIFY(hasFocus(checked));
        QVERIFY(dialog->isVisible());
        QCOMPARE(rowCount(category), 0);
    }
};

QTEST_MAIN(tst_EditDialogs)
#include "tst_EditDialogs.moc"
