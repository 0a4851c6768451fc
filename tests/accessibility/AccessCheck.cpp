#include "AccessCheck.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>

namespace accesscheck {

namespace {

bool isInnerPart(const QWidget* widget)
{
    // The viewport and the scroll-bar holders are parts of the box they belong to.
    return qobject_cast<const QScrollBar*>(widget) != nullptr ||
           qobject_cast<const QAbstractScrollArea*>(widget->parentWidget()) != nullptr;
}

bool isControl(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return !label->text().trimmed().isEmpty() || !label->pixmap().isNull();
    }
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
        return !frame->title().isEmpty();
    }
    return widget->focusPolicy() != Qt::NoFocus || qobject_cast<const QAbstractButton*>(widget) != nullptr ||
           qobject_cast<const QLineEdit*>(widget) != nullptr || qobject_cast<const QComboBox*>(widget) != nullptr ||
           qobject_cast<const QAbstractScrollArea*>(widget) != nullptr ||
           qobject_cast<const QTabBar*>(widget) != nullptr;
}

} // namespace

QString nameOf(QWidget* control)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
    return face != nullptr ? face->text(QAccessible::Name).trimmed() : QString();
}

QStringList unnamedControls(QWidget* window)
{
    QStringList unnamed;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window) || isInnerPart(widget) || !isControl(widget)) {
            continue;
        }
        if (nameOf(widget).isEmpty()) {
            unnamed << QStringLiteral("%1 (%2)").arg(widget->objectName(), widget->metaObject()->className());
        }
    }
    return unnamed;
}

QString focusedName()
{
    QWidget* focused = QApplication::focusWidget();
    if (focused == nullptr) {
        return QString();
    }
    if (qobject_cast<QComboBox*>(focused->parentWidget()) != nullptr) {
        focused = focused->parentWidget();
    }
    return focused->objectName();
}

QStringList tabWalk(int steps, bool backward)
{
    QStringList walk;
    for (int step = 0; step < steps; ++step) {
        QWidget* focused = QApplication::focusWidget();
        if (focused == nullptr) {
            walk << QString();
            continue;
        }
        QTest::keyClick(focused, backward ? Qt::Key_Backtab : Qt::Key_Tab,
                        backward ? Qt::ShiftModifier : Qt::NoModifier);
        walk << focusedName();
    }
    return walk;
}

} // namespace accesscheck
