#include "KeyFilter.h"

#include "InputRules.h"
#include "Platform.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace {

bool isControlCharacter(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

// Ctrl (Cmd on a Mac) makes a shortcut; Ctrl together with Alt is AltGr on some desktops and types.
bool isShortcut(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & (Qt::ControlModifier | Qt::MetaModifier)) && !(modifiers & Qt::AltModifier);
}

} // namespace

KeyFilter::KeyFilter(const QString& mode, QObject* parent) : QObject(parent), m_mode(mode) {}

KeyFilter* KeyFilter::install(QWidget* field, const QString& mode)
{
    auto* filter = new KeyFilter(mode, field);
    field->installEventFilter(filter);
    // An editable combo box hands the keys it gets to its line edit directly, past any filter
    // there; the line edit's own filter covers keys sent to the line edit itself.
    if (auto* combo = qobject_cast<QComboBox*>(field); combo != nullptr && combo->lineEdit() != nullptr) {
        combo->lineEdit()->installEventFilter(filter);
    }
    return filter;
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (m_resending) {
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        return filterKey(watched, static_cast<QKeyEvent*>(event));
    }
    if (event->type() == QEvent::InputMethod) {
        return filterInputMethod(watched, static_cast<QInputMethodEvent*>(event));
    }
    return false;
}

bool KeyFilter::filterKey(QObject* watched, QKeyEvent* event)
{
    const QString typed = event->text();
    if (typed.isEmpty() || isShortcut(event->modifiers()) ||
        std::any_of(typed.begin(), typed.end(), isControlCharacter)) {
        return false;
    }
    const QString received = filtered(typed);
    if (received.isNull()) {
        platform::Beep();
        return true;
    }
    if (received == typed) {
        return false;
    }
    QKeyEvent replacement(event->type(), event->key(), event->modifiers(), received, event->isAutoRepeat(),
                          static_cast<quint16>(event->count()));
    m_resending = true;
    QCoreApplication::sendEvent(watched, &replacement);
    m_resending = false;
    event->setAccepted(replacement.isAccepted());
    return true;
}

bool KeyFilter::filterInputMethod(QObject* watched, QInputMethodEvent* event)
{
    const QString typed = event->commitString();
    if (typed.isEmpty()) {
        return false;
    }
    QString received = filtered(typed);
    if (received == typed) {
        return false;
    }
    if (received.isNull()) {
        platform::Beep();
        received = QString();
    }
    // The composition under way (preedit) still reaches the field; only the committed text changes.
    QInputMethodEvent replacement(event->preeditString(), event->attributes());
    replacement.setCommitString(received, event->replacementStart(), event->replacementLength());
    m_resending = true;
    QCoreApplication::sendEvent(watched, &replacement);
    m_resending = false;
    return true;
}

QString KeyFilter::filtered(const QString& typed) const
{
    QString received(typed.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < typed.size(); ++i) {
        int code = AnsiCode(typed.at(i));
        FilterKeyAscii(m_mode, code);
        if (code == 0) {
            return {};
        }
        // The unfiltering mode lets through characters that have no ANSI code.
        received[i] = code == kNotAnsi ? typed.at(i) : AnsiChar(code);
    }
    return received;
}

bool RefuseEntry(const QString& kind, const QString& value)
{
    const QString message = ValidateEntry(kind, value);
    if (message.isEmpty()) {
        return false;
    }
    platform::MsgBox(message, platform::vbInformation, QStringLiteral("Invalid"));
    return true;
}
