#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QEvent;
class QInputMethodEvent;
class QKeyEvent;
class QLineEdit;
class QWidget;

// Filters what the user types or pastes into a field: the text passes FilterText with the
// field's mode before the field sees it. Refused characters are dropped with one beep and the
// rest go in; in the upper-case modes the field receives them upper-cased.
//
// Backspace, navigation and editing keys, Tab, Enter and Esc (so that the dialog's default and
// cancel buttons keep working) and shortcuts with Ctrl (copy, undo) pass untouched. Every way of
// pasting (the paste keys, the context menu, the middle button, a drop from elsewhere) goes
// through the filter as typing does; a paste that would make the text longer than the field
// holds is refused whole, with a message, rather than cut. Text set by the program is not
// filtered.
class KeyFilter : public QObject
{
    Q_OBJECT

public:
    explicit KeyFilter(const QString& mode, QObject* parent = nullptr);

    // Filters the text typed or pasted into a line edit or an editable combo box (made editable
    // before). The filter belongs to the field.
    static KeyFilter* install(QWidget* field, const QString& mode);

    QString mode() const { return m_mode; }

    // Pastes text into the line edit as the paste key would: filtered, within the field's limit.
    void paste(QLineEdit* edit, const QString& text) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool filterKey(QObject* watched, QKeyEvent* event);
    bool filterInputMethod(QObject* watched, QInputMethodEvent* event);

    QString m_mode;
    bool m_resending = false;
};

// True when the key event types text: it carries text that holds no control character and is no
// shortcut (Ctrl alone; Ctrl with Alt is AltGr on some desktops and types).
bool IsTypedText(const QKeyEvent* event);

// When the event would paste or drop text into the line edit (the paste keys, the Paste of its
// context menu, the middle button's selection, a drop from another control), hands that text to
// paste instead and returns true: the event has been dealt with.
bool RoutePaste(QLineEdit* edit, QEvent* event, const std::function<void(const QString&)>& paste);

// Lets the line edit show a stored value longer than its limit: the limit is raised for that
// value only and comes back as soon as the user has brought the text within it again. A paste that replaces the whole
// text counts against the field's own limit.
void AllowLongerValue(QLineEdit* edit, qsizetype length);
// The field's own length limit, whatever a longer stored value raised it to.
int OwnLimit(const QLineEdit* edit);

// Tells the user that a paste was refused (title "Invalid", information icon).
void RefusePaste(const QString& message);

// A field's validate handler: shows the refusal message of ValidateEntry (title "Invalid",
// information icon) and returns true, the handler's cancel flag, when the entry is refused.
bool RefuseEntry(const QString& kind, const QString& value);
