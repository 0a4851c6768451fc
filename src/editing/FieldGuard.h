#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWindow>

class QAbstractButton;
class QDialog;
class QKeyEvent;
class QMouseEvent;
class QWidget;

// The keyboard and focus rules every edit dialog shares.
//
// Validation: before the focus leaves a field that has a validate kind, for any control except
// the cancel button (a click or tap on it, Tab or Backtab, Enter), the field's entry is checked
// with RefuseEntry. A refused entry has shown its message; the focus stays in the field and the
// click or key that would have moved it is dropped, so OK cannot save it. Focus that moves to the
// cancel button, by mouse or by key, is never checked; the field it came from is checked when
// the focus moves on from the cancel button to anything but that field.
//
// Keys: Enter (Return or the keypad's) presses OK from every field, the notes box included;
// Shift+Enter or Ctrl+Enter puts a line break in a notes box. Esc presses Cancel. On a focused
// button Enter presses that button, as buttons always do. While a list or another pop-up is open,
// Esc and Enter are the pop-up's: Esc closes it, Enter takes its highlighted item.
//
// The mouse wheel turns a drop-down list only while the list has the focus; over any other list
// it passes on, so that a list the pointer happens to cross keeps its value.
//
// The guard watches every widget of the dialog that exists when it is made: create it after
// setupUi. Clicks are watched at the dialog's window, where they arrive before any control has
// taken the focus.
class FieldGuard : public QObject
{
    Q_OBJECT

public:
    FieldGuard(QDialog* dialog, QAbstractButton* ok, QAbstractButton* cancel);

    // Checks the field with the rule of kind ("Name", "Zip Code", "Phone Number", ...) before
    // the focus leaves it. The entry checked is a masked field's entered characters, or the text
    // of a text box or combo box.
    void validate(QWidget* field, const QString& kind);

    // Runs the check of the field that holds the focus, if it has one; true when it passed.
    bool validateFocusedField();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Rule
    {
        QPointer<QWidget> field;
        QString kind;
    };

    bool keyPress(QWidget* watched, QKeyEvent* event);
    bool mousePress(QMouseEvent* event);
    bool wheel(QWidget* watched, QEvent* event) const;
    void watchWindow();
    // The control a click on target would give the focus to, or nullptr when it takes none.
    QWidget* focusTaker(QWidget* target) const;
    // The control Tab (forward) or Backtab would move the focus to.
    QWidget* tabTarget(bool forward) const;
    bool isCancel(const QWidget* widget) const;
    // The focus is about to move to the cancel button: the field it leaves is checked later.
    void deferCheck();
    qsizetype ruleIndexOf(const QWidget* widget) const;
    // The rule of the field that holds the focus; on the cancel button, of the field it came from.
    const Rule* ruleOfFocusedField() const;
    bool passes(const Rule& rule);

    QDialog* m_dialog;
    QPointer<QWindow> m_window;
    QPointer<QAbstractButton> m_ok;
    QPointer<QAbstractButton> m_cancel;
    QList<Rule> m_rules;
    qsizetype m_deferred = -1; // the rule left unchecked for the cancel button
    bool m_checking = false;
};
