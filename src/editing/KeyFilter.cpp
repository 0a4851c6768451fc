#include "KeyFilter.h"

#include "InputRules.h"
#include "Platform.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

#include <algorithm>
#include <limits>

namespace {

const char* const kOwnLimit = "corvantaOwnLimit";

bool isControlCharacter(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

// The line edit that receives what is typed into a field: the field itself, or the edit portion
// of a combo box.
QLineEdit* lineEditOf(QObject* field)
{
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        return edit;
    }
    if (auto* combo = qobject_cast<QComboBox*>(field)) {
        return combo->lineEdit();
    }
    return nullptr;
}

void showContextMenu(QLineEdit* edit, const QPoint& globalPosition, const std::function<void(const QString&)>& paste)
{
    QMenu* menu = edit->createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        // The standard menu wires its Paste to the line edit's paste() by name; that one action
        // is rewired so that a paste from the menu is filtered like any other.
        if (QObject::disconnect(action, SIGNAL(triggered()), edit, SLOT(paste()))) {
            QObject::connect(action, &QAction::triggered, edit,
                             [paste] { paste(QGuiApplication::clipboard()->text()); });
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPosition);
}

} // namespace

KeyFilter::KeyFilter(const QString& mode, QObject* parent) : QObject(parent), m_mode(mode) {}

KeyFilter* KeyFilter::install(QWidget* field, const QString& mode)
{
    auto* filter = new KeyFilter(mode, field);
    field->installEventFilter(filter);
    // An editable combo box hands the keys it gets to its line edit directly, past any filter
    // there; the line edit's own filter covers keys, menus and drops sent to the line edit itself.
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
    if (QLineEdit* edit = lineEditOf(watched);
        edit != nullptr && RoutePaste(edit, event, [this, edit](const QString& text) { paste(edit, text); })) {
        return true;
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
    if (!IsTypedText(event)) {
        return false;
    }
    const QString typed = event->text();
    qsizetype refused = 0;
    const QString received = FilterText(m_mode, typed, &refused);
    if (refused > 0) {
        platform::Beep();
    }
    if (received == typed) {
        return false;
    }
    if (received.isEmpty()) {
        return true;
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
    qsizetype refused = 0;
    const QString received = FilterText(m_mode, typed, &refused);
    if (refused > 0) {
        platform::Beep();
    }
    if (received == typed) {
        return false;
    }
    // The composition under way (preedit) still reaches the field; only the committed text changes.
    QInputMethodEvent replacement(event->preeditString(), event->attributes());
    replacement.setCommitString(received, event->replacementStart(), event->replacementLength());
    m_resending = true;
    QCoreApplication::sendEvent(watched, &replacement);
    m_resending = false;
    return true;
}

void KeyFilter::paste(QLineEdit* edit, const QString& text) const
{
    if (edit->isReadOnly()) {
        return;
    }
    qsizetype refused = 0;
    const QString accepted = FilterText(m_mode, text, &refused);
    const qsizetype selected = edit->selectedText().size();
    const qsizetype length = edit->text().size() - selected + accepted.size();
    // A paste over the whole text is a new value: the limit raised for a longer stored one is not its.
    const int limit = selected == edit->text().size() ? OwnLimit(edit) : edit->maxLength();
    if (length > limit) {
        RefusePaste(QStringLiteral("This box holds at most %1 characters; with the text pasted it would hold %2. "
                                   "Nothing was pasted.")
                        .arg(limit)
                        .arg(length));
        return;
    }
    if (refused > 0) {
        platform::Beep();
    }
    if (!accepted.isEmpty()) {
        edit->insert(accepted);
    }
}

bool IsTypedText(const QKeyEvent* event)
{
    const QString typed = event->text();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool shortcut = (modifiers & (Qt::ControlModifier | Qt::MetaModifier)) && !(modifiers & Qt::AltModifier);
    return !typed.isEmpty() && !shortcut && std::none_of(typed.begin(), typed.end(), isControlCharacter);
}

bool RoutePaste(QLineEdit* edit, QEvent* event, const std::function<void(const QString&)>& paste)
{
    if (edit->isReadOnly()) {
        return false;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    switch (event->type()) {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
            paste(clipboard->text());
            return true;
        }
        return false;
    case QEvent::ContextMenu:
        showContextMenu(edit, static_cast<QContextMenuEvent*>(event)->globalPos(), paste);
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::MiddleButton || !clipboard->supportsSelection()) {
            return false;
        }
        edit->deselect();
        edit->setCursorPosition(edit->cursorPositionAt(mouse->position().toPoint()));
        paste(clipboard->text(QClipboard::Selection));
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        // Moving the field's own selection within it brings in nothing new.
        if (drop->source() == edit || !drop->mimeData()->hasText()) {
            return false;
        }
        edit->deselect();
        edit->setCursorPosition(edit->cursorPositionAt(drop->position().toPoint()));
        paste(drop->mimeData()->text());
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        // Takes away the drop marker the drag drew.
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(edit, &leave);
        return true;
    }
    default:
        return false;
    }
}

void AllowLongerValue(QLineEdit* edit, qsizetype length)
{
    if (!edit->property(kOwnLimit).isValid()) {
        edit->setProperty(kOwnLimit, edit->maxLength());
        QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
            const int own = OwnLimit(edit);
            if (text.size() <= own && edit->maxLength() > own) {
                edit->setMaxLength(own);
            }
        });
    }
    if (length > edit->maxLength()) {
        edit->setMaxLength(static_cast<int>(std::min<qsizetype>(length, std::numeric_limits<int>::max())));
    }
}

int OwnLimit(const QLineEdit* edit)
{
    const QVariant own = edit->property(kOwnLimit);
    return own.isValid() ? own.toInt() : edit->maxLength();
}

void RefusePaste(const QString& message)
{
    platform::ShowMessage(message, platform::MessageKind::Information, QStringLiteral("Invalid"));
}

bool RefuseEntry(const QString& kind, const QString& value)
{
    const QString message = ValidateEntry(kind, value);
    if (message.isEmpty()) {
        return false;
    }
    platform::ShowMessage(message, platform::MessageKind::Information, QStringLiteral("Invalid"));
    return true;
}
