#pragma once

#include <QObject>
#include <QString>

class QInputMethodEvent;
class QKeyEvent;
class QWidget;

// Filters what the user types into a field: every typed character passes FilterKeyAscii with the
// field's mode before the field sees it. A refused character is dropped with the beep; in the
// upper-case modes the field receives the character upper-cased.
//
// Only typing is filtered. Backspace, navigation and editing keys, Tab, Enter and Esc (so that
// the dialog's default and cancel buttons keep working) and shortcuts with Ctrl (copy, paste, undo)
// pass untouched; pasted, dropped and program-set text is not filtered.
class KeyFilter : public QObject
{
    Q_OBJECT

public:
    explicit KeyFilter(const QString& mode, QObject* parent = nullptr);

    // Filters the keys typed into a line edit or an editable combo box (made editable before).
    // The filter belongs to the field.
    static KeyFilter* install(QWidget* field, const QString& mode);

    QString mode() const { return m_mode; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool filterKey(QObject* watched, QKeyEvent* event);
    bool filterInputMethod(QObject* watched, QInputMethodEvent* event);
    // The typed text as the field should receive it, or a null text when it is refused.
    QString filtered(const QString& typed) const;

    QString m_mode;
    bool m_resending = false;
};

// A field's validate handler: shows the refusal message of ValidateEntry (title "Invalid",
// information icon) and returns true, the handler's cancel flag, when the entry is refused.
bool RefuseEntry(const QString& kind, const QString& value);
