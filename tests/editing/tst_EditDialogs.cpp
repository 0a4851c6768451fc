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
        QCOMPARE(row.value(categories::named(category)->nameField.mid(1).chopped(1)), QVariant("Named"));
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
        row("short phone, click on a field", "Personal", "sle_PhoneNumber", "55512", Leave::Click, "sle_Name", phone);
        row("seven-digit phone", "Personal", "sle_PhoneNumber", "5551234", Leave::Tab, "", phone);
        row("empty name, click on a combo box", "Web", "sle_WebSite", "", Leave::Click, "ddlb_Login", name);
        row("empty name, click on a card type", "Credit", "sle_CreditCard", "", Leave::Click, "ob_CreditCard_1", name);
        row("full zip", "Personal", "sle_ZipCode", "02134", Leave::Tab, "", "");
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
        QVERIFY(!ShowEditDialog(Category::Web, recordId));
        QCOMPARE(recordId, QStringLiteral("0"));
        QCOMPARE(rowCount("Web"), 0);

        seam.queueScript([](QDialog* dialog) {
            showActive(dialog);
            type(QStringLiteral("Kept"));
            click(dialog, control(dialog, "cb_OK"));
        });
        QVERIFY(ShowEditDialog(Category::Web, recordId));
        QCOMPARE(recordId, QStringLiteral("1"));
        QCOMPARE(seam.modalDialogs, (QStringList{"frm_WebAccounts", "frm_WebAccounts"}));
        QCOMPARE(seam.leftOpen, 0);
        QVERIFY(seam.messages.isEmpty());
    }
};

QTEST_MAIN(tst_EditDialogs)
#include "tst_EditDialogs.moc"
