#include "FieldGuard.h"

#include "KeyFilter.h"
#include "MaskedEdit.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QWindow>

namespace {

QString entryOf(const QWidget* field)
{
    if (const auto* masked = qobject_cast<const MaskedEdit*>(field)) {
        return masked->ClipText();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(field)) {
        return edit->text();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(field)) {
        return combo->currentText();
    }
    return {};
}

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
    return false;
}

bool FieldGuard::keyPress(QWidget* watched, QKeyEvent* event)
{
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
        return !validateFocusedField();
    }
    return false;
}

bool FieldGuard::mousePress(QMouseEvent* event)
{
    QWidget* taker = focusTaker(m_dialog->childAt(event->position().toPoint()));
    if (taker == nullptr || (m_cancel != nullptr && (taker == m_cancel || m_cancel->isAncestorOf(taker)))) {
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

const FieldGuard::Rule* FieldGuard::ruleOfFocusedField() const
{
    QWidget* focused = m_dialog->focusWidget();
    if (focused == nullptr) {
        return nullptr;
    }
    for (const Rule& rule : m_rules) {
        if (rule.field != nullptr && (rule.field == focused || rule.field->isAncestorOf(focused))) {
            return &rule;
        }
    }
    return nullptr;
}

bool FieldGuard::passes(const Rule& rule)
{
    m_checking = true;
    const bool refused = RefuseEntry(rule.kind, entryOf(rule.field));
    m_checking = false;
    if (refused) {
        rule.field->setFocus();
    }
    return !refused;
}
