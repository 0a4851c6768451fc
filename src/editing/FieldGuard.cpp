#include "FieldGuard.h"

#include "ControlValue.h"
#include "KeyFilter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QWindow>

namespace {

bool isEnter(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// The notes box a widget belongs to (the box itself or its viewport), or nullptr.
QPlainTextEdit* notesBoxOf(QWidget* widget)
{
    if (auto* notes = qobject_cast<QPlainTextEdit*>(widget)) {
        return notes;
    }
    if (widget != nullptr) {
        auto* notes = qobject_cast<QPlainTextEdit*>(widget->parentWidget());
        if (notes != nullptr && notes->viewport() == widget) {
            return notes;
        }
    }
    return nullptr;
}

} // namespace

FieldGuard::FieldGuard(QDialog* dialog, QAbstractButton* ok, QAbstractButton* cancel)
    : QObject(dialog), m_dialog(dialog), m_ok(ok), m_cancel(cancel)
{
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        widget->installEventFilter(this);
        // A list takes the focus by a click or a key, not from a wheel turned over it on the way
        // elsewhere, which would also move the focus past the check of the field it was in.
        if (auto* combo = qobject_cast<QComboBox*>(widget);
            combo != nullptr && combo->focusPolicy() == Qt::WheelFocus) {
            combo->setFocusPolicy(Qt::StrongFocus);
        }
    }
    dialog->installEventFilter(this);
    watchWindow();
}

void FieldGuard::watchWindow()
{
    // A click gives the focus to the clicked control before any filter on that control sees it,
    // so clicks are caught where they enter the dialog: at its window.
    if (QWindow* window = m_dialog->windowHandle(); window != nullptr && window != m_window) {
        window->installEventFilter(this);
        m_window = window;
    }
}

void FieldGuard::validate(QWidget* field, const QString& kind)
{
    m_rules.append({field, kind});
}

bool FieldGuard::validateFocusedField()
{
    const Rule* rule = ruleOfFocusedField();
    return rule == nullptr || passes(*rule);
}

bool FieldGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (m_checking) {
        return false;
    }
    if (watched == m_window) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            return mousePress(static_cast<QMouseEvent*>(event));
        }
        return false;
    }
    if (watched == m_dialog) {
        if (event->type() == QEvent::Show || event->type() == QEvent::WinIdChange) {
            watchWindow();
        }
        return false;
    }
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        return keyPress(static_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event));
    }
    if (event->type() == QEvent::Wheel && watched->isWidgetType()) {
        return wheel(static_cast<QWidget*>(watched), event);
    }
    return false;
}

bool FieldGuard::keyPress(QWidget* watched, QKeyEvent* event)
{
    // An open list (or a completion list, a menu) answers Esc and Enter itself; only after it
    // closed do they act on the dialog.
    if (QApplication::activePopupWidget() != nullptr || watched->window() != m_dialog) {
        return false;
    }
    if (isEnter(event)) {
        // A focused push button answers Enter itself, Cancel included.
        if (qobject_cast<QPushButton*>(watched) != nullptr) {
            return false;
        }
        if (QPlainTextEdit* notes = notesBoxOf(watched);
            notes != nullptr && (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))) {
            notes->insertPlainText(QStringLiteral("\n"));
            return true;
        }
        if (validateFocusedField() && m_ok != nullptr) {
            m_ok->click();
        }
        return true;
    }
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (m_cancel != nullptr) {
            m_cancel->click();
        } else {
            m_dialog->reject();
        }
        return true;
    }
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        if (isCancel(tabTarget(event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier)))) {
            deferCheck();
            return false;
        }
        return !validateFocusedField();
    }
    return false;
}

bool FieldGuard::wheel(QWidget* watched, QEvent* event) const
{
    // The edit portion of a combo box is part of it; a list's pop-up is a window of its own.
    for (QWidget* widget = watched; widget != nullptr && widget != m_dialog && !widget->isWindow();
         widget = widget->parentWidget()) {
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            if (combo->hasFocus()) {
                return false;
            }
            // Ignored, the wheel goes on to the controls around the list.
            event->ignore();
            return true;
        }
    }
    return false;
}

bool FieldGuard::mousePress(QMouseEvent* event)
{
    QWidget* taker = focusTaker(m_dialog->childAt(event->position().toPoint()));
    if (taker == nullptr) {
        return false;
    }
    if (isCancel(taker)) {
        deferCheck();
        return false;
    }
    const Rule* rule = ruleOfFocusedField();
    if (rule == nullptr || rule->field == taker || rule->field->isAncestorOf(taker)) {
        return false;
    }
    return !passes(*rule);
}

QWidget* FieldGuard::focusTaker(QWidget* target) const
{
    // A scroll bar moves the view without taking the focus.
    for (QWidget* widget = target; widget != nullptr && widget != m_dialog; widget = widget->parentWidget()) {
        if (!widget->isEnabled() || qobject_cast<QScrollBar*>(widget) != nullptr) {
            return nullptr;
        }
        QWidget* receiver = widget;
        while (receiver->focusProxy() != nullptr) {
            receiver = receiver->focusProxy();
        }
        if (receiver->focusPolicy() & Qt::ClickFocus) {
            return widget;
        }
    }
    return nullptr;
}

QWidget* FieldGuard::tabTarget(bool forward) const
{
    QWidget* from = m_dialog->focusWidget();
    if (from == nullptr) {
        return nullptr;
    }
    // As Qt walks the chain: the next control that takes the focus by Tab and stands for itself
    // (the edit portion of a combo box hands its focus to the combo box).
    for (QWidget* widget = forward ? from->nextInFocusChain() : from->previousInFocusChain();
         widget != nullptr && widget != from;
         widget = forward ? widget->nextInFocusChain() : widget->previousInFocusChain()) {
        if (widget->window() == m_dialog && widget->isVisibleTo(m_dialog) && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus) && widget->focusProxy() == nullptr) {
            return widget;
        }
    }
    return nullptr;
}

bool FieldGuard::isCancel(const QWidget* widget) const
{
    return widget != nullptr && m_cancel != nullptr && (widget == m_cancel || m_cancel->isAncestorOf(widget));
}

void FieldGuard::deferCheck()
{
    if (isCancel(m_dialog->focusWidget())) {
        return;
    }
    m_deferred = ruleIndexOf(m_dialog->focusWidget());
}

qsizetype FieldGuard::ruleIndexOf(const QWidget* widget) const
{
    for (qsizetype i = 0; i < m_rules.size(); ++i) {
        const QWidget* field = m_rules.at(i).field;
        if (widget != nullptr && field != nullptr && (field == widget || field->isAncestorOf(widget))) {
            return i;
        }
    }
    return -1;
}

const FieldGuard::Rule* FieldGuard::ruleOfFocusedField() const
{
    const QWidget* focused = m_dialog->focusWidget();
    const qsizetype index = isCancel(focused) ? m_deferred : ruleIndexOf(focused);
    return index >= 0 && index < m_rules.size() ? &m_rules.at(index) : nullptr;
}

bool FieldGuard::passes(const Rule& rule)
{
    m_checking = true;
    const bool refused = RefuseEntry(rule.kind, controlValue(rule.field, Reading::Entry));
    m_checking = false;
    if (refused) {
        rule.field->setFocus();
    }
    return !refused;
}
