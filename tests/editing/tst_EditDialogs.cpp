#include "EditDialogs.h"
#include "EditingTestData.h"
#include "MaskedEdit.h"
#include "ScriptedSeam.h"
#include "TestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
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
    void enterPressesOkFromAnyField_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("field");
        row("web name", "Web", "sle_WebSite");
        row("web combo box", "Web", "ddlb_SiteType");
        row("web notes", "Web", "mle_Notes");
        row("travel PIN", "Travel", "sle_PIN");
        row("credit card type button", "Credit", "ob_CreditCard_4");
        row("personal zip", "Personal", "sle_ZipCode");
    }
    void enterPressesOkFromAnyField()
    {
        QFETCH(QString, category);
        QFETCH(QString, field);
        DataFile file;
        testsupport::ScriptedSeam seam;
        auto dialog = dialogFor(category);
        dialog->Form_Load(QStringLiteral("0"));
        QVERIFY(showActive(dialog.get()));
        type(QStringLiteral("Named"));
        control(dialog.get(), field)->setFocus();
        key(Qt::Key_Return);

        QVERIFY(seam.messages.isEmpty());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(rowCount(category), 1);
        const QVariantMap row = storedRow(category, dialog->istr_RecordID.toLongLong());
        QCOMPARE(row.value(statements::category(category)->nameField.mid(1).chopped(1)), QVariant("Named"));
        QVERIFY(!row.value(QStringLiteral("Notes")).toString().contains(u'\n'));
    }

    void shiftOrCtrlEnterBreaksLineInNotes_data()
    {
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        row("shift", Qt::KeyboardModifiers(Qt::ShiftModifier));
        row("ctrl", Qt::KeyboardModifiers(Qt::ControlModifier));
    }

    void shiftOrCtrlEnterBreaksLineInNotes()
    {
        QFETCH(Qt::KeyboardModifiers, modifiers);
        DataFile file;
        testsupport::ScriptedSeam seam;
        frm_TravelPrograms dialog;
        dialog.Form_Load(QStringLiteral("0"));
        QVERIFY(showActive(&dialog));
        type(QStringLiteral("Miles"));
        control(&dialog, "mle_Notes")->setFocus();
        type(QStringLiteral("one"));
        key(Qt::Key_Return, modifiers);
        type(QStringLiteral("two"));
        QVERIFY(dialog.isVisible());
        key(Qt::Key_Enter, Qt::KeypadModifier);

        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(storedRow("Travel", dialog.istr_RecordID.toLongLong()).value("Notes"), QVariant("one\ntwo"));
    }

    void cancelWaysCloseWithoutCheckOrSave_data()
    {
        QTest::addColumn<QString>("way");
        row("Esc", "esc");
        row("Cancel clicked", "click");
        row("close box", "close");
    }

    void cancelWaysCloseWithoutCheckOrSave()
    {
        QFETCH(QString, way);
        DataFile file;
        testsupport::ScriptedSeam seam;
        frm_PersonalInformation dialog;
        dialog.Form_Load(QStringLiteral("0"));
        QVERIFY(showActive(&dialog));
        type(QStringLiteral("Ann"));
        control(&dialog, "sle_ZipCode")->setFocus();
        type(QStringLiteral("12"));
        if (way == QLatin1String("esc")) {
            key(Qt::Key_Escape);
        } else if (way == QLatin1String("click")) {
            click(&dialog, control(&dialog, "cb_Cancel"));
        } else {
            dialog.close();
        }

        QVERIFY(seam.messages.isEmpty());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(rowCount("Personal"), 0);
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
        row("short phone, Backtab", "Personal", "sle_PhoneNumber", "555123", Leave::Backtab, "", phone);
        row("short phone, click on a field", "Personal", "sle_PhoneNumber", "55512", Leave::Click, "sle_Name", phone);
        row("seven-digit phone", "Personal", "sle_PhoneNumber", "5551234", Leave::Tab, "", phone);
        row("empty name, click on a combo box", "Web", "sle_WebSite", "", Leave::Click, "ddlb_Login", name);
        row("empty name, click on a card type", "Credit", "sle_CreditCard", "", Leave::Click, "ob_CreditCard_1", name);
        row("empty name, click in the notes", "Travel", "sle_TravelProgram", "", Leave::Click, "mle_Notes", name);
        row("full zip", "Personal", "sle_ZipCode", "02134", Leave::Tab, "", "");
        row("empty phone", "Personal", "sle_PhoneNumber", "", Leave::Click, "sle_City", "");
        row("credit card phone is not checked", "Credit", "sle_PhoneNumber", "555", Leave::Tab, "", "");
        row("credit card date is not checked", "Credit", "sle_ExpirationDate", "1", Leave::Click, "sle_AccountNumber",
            "");
        row("travel phone is not checked", "Travel", "sle_PhoneNumber", "5", Leave::Tab, "", "");
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

    void nameOfOneBlankPassesFieldCheckButNotSave()
    {
        DataFile file;
        testsupport::ScriptedSeam seam;
        frm_WebAccounts dialog;
        dialog.Form_Load(QStringLiteral("0"));
        QVERIFY(showActive(&dialog));
        QVERIFY(hasFocus(control(&dialog, "sle_WebSite")));
        type(QStringLiteral(" "));
        click(&dialog, control(&dialog, "cb_OK"));

        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages.at(0).text, QStringLiteral("Please enter a name for this web site."));
        QCOMPARE(seam.messages.at(0).title, QStringLiteral("Corvanta Error"));
        QVERIFY(hasFocus(control(&dialog, "sle_WebSite")));
        QVERIFY(dialog.isVisible());
        QCOMPARE(rowCount("Web"), 0);
    }

    void fieldsFilterTheirKeystrokes_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        row("state upper-cased", "Personal", "ddlb_State", false, "n1y", "NY");
        row("name as written", "Personal", "sle_Name", false, QString::fromUtf8("Zoë O'Neil-Smith 3rd"),
            QString::fromUtf8("Zoë O'Neil-Smith 3rd"));
        row("address with signs", "Personal", "sle_Address", true, "12 Main St, Apt #3/B", "12 Main St, Apt #3/B");
        row("card number digits only", "Credit", "sle_AccountNumber", false, "12a-3", "123");
        row("card number pasted with blanks", "Credit", "sle_AccountNumber", true, "4111 1111 1111 1111",
            "4111111111111111");
        row("travel account upper-cased", "Travel", "sle_AccountNumber", false, "ab12", "AB12");
        row("PIN with signs", "Travel", "sle_PIN", false, "12#4*", "12#4*");
        row("site name with signs", "Web", "sle_WebSite", false, "AT&T #1", "AT&T #1");
        row("e-mail login", "Web", "ddlb_Login", false, "jo@x.com_P!1#", "jo@x.com_P!1#");
        row("password as typed, in clear", "Web", "ddlb_Password", false, "R3tire^2045! <\"q\">",
            "R3tire^2045! <\"q\">");
        const QString address = "https://www.example.org/account/login?return=%2Fsettings%2Fsecurity&lang=en";
        row("long web address pasted whole", "Web", "sle_URL", true, address, address);
    }

    void fieldsFilterTheirKeystrokes()
    {
        QFETCH(QString, category);
        QFETCH(QString, field);
        QFETCH(bool, paste);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        DataFile file;
        testsupport::ScriptedSeam seam;
        auto dialog = dialogFor(category);
        dialog->Form_Load(QStringLiteral("0"));
        QVERIFY(showActive(dialog.get()));
        QWidget* target = control(dialog.get(), field);
        target->setFocus();
        if (paste) {
            QGuiApplication::clipboard()->setText(typed);
            key(Qt::Key_V, Qt::ControlModifier);
        } else {
            type(typed);
        }
        auto* edit = qobject_cast<QLineEdit*>(target);
        if (auto* combo = qobject_cast<QComboBox*>(target)) {
            edit = combo->lineEdit();
        }
        QVERIFY(edit != nullptr);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(edit->displayText(), shown);
    }

    void openListTakesEscAndEnter_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("takes");
        row("Esc closes the list", int(Qt::Key_Escape), false);
        row("Enter takes the highlighted item", int(Qt::Key_Return), true);
    }

    void openListTakesEscAndEnter()
    {
        QFETCH(int, key);
        QFETCH(bool, takes);
        DataFile file;
        testsupport::ScriptedSeam seam;
        frm_PersonalInformation dialog;
        dialog.Form_Load(QStringLiteral("0"));
        QVERIFY(showActive(&dialog));
        auto* state = child<QComboBox>(&dialog, "ddlb_State");
        state->setFocus();
        state->showPopup();
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        ::key(Qt::Key_Down);
        ::key(Qt::Key_Down);
        const QString highlighted = state->view()->currentIndex().data().toString();
        QVERIFY(!highlighted.isEmpty());
        ::key(Qt::Key(key));

        QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
        QVERIFY(dialog.isVisible());
        QCOMPARE(state->currentText(), takes ? highlighted : QString());
        QCOMPARE(rowCount("Personal"), 0);
        // With the list closed the key is the dialog's again.
        ::key(Qt::Key(key));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(rowCount("Personal"), key == Qt::Key_Return ? 1 : 0);
    }

    void showEditDialogHandsBackNewIdOnlyAfterSave()
    {
        DataFile file;
        testsupport::ScriptedSeam seam;
        seam.queueScript([](QDialog* dialog) {
            showActive(dialog);
            type(QStringLiteral("Gone"));
            key(Qt::Key_Escape);
        });
        QString recordId = QStringLiteral("0");
        QVERIFY(!ShowEditDialog(QStringLiteral("Web"), recordId));
        QCOMPARE(recordId, QStringLiteral("0"));
        QCOMPARE(rowCount("Web"), 0);

        seam.queueScript([](QDialog* dialog) {
            showActive(dialog);
            type(QStringLiteral("Kept"));
            click(dialog, control(dialog, "cb_OK"));
        });
        QVERIFY(ShowEditDialog(QStringLiteral("Web"), recordId));
        QCOMPARE(recordId, QStringLiteral("1"));
        QCOMPARE(seam.modalDialogs, (QStringList{"frm_WebAccounts", "frm_WebAccounts"}));
        QCOMPARE(seam.leftOpen, 0);
        QVERIFY(seam.messages.isEmpty());
    }
};

QTEST_MAIN(tst_EditDialogs)
#include "tst_EditDialogs.moc"
