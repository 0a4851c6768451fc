#include "DisplayFields.h"

#include <QApplication>
#include <QDrag>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>

namespace {

void runDrag(QLineEdit* source, QMimeData* data, Qt::DropActions allowed)
{
    auto* drag = new QDrag(source);
    drag->setMimeData(data);
    drag->exec(allowed, Qt::CopyAction);
}

DisplayFields::DragRunner& dragRunner()
{
    static DisplayFields::DragRunner runner = runDrag;
    return runner;
}

} // namespace

DisplayFields::DisplayFields(QObject* parent) : QObject(parent) {}

void DisplayFields::add(QLineEdit* field, QWidget* focusHolder, bool dragsExactly)
{
    if (field == nullptr) {
        return;
    }
    m_holders.insert(field, focusHolder);
    if (dragsExactly) {
        m_exact.insert(field);
    }
    // Out of the Tab chain: Tab from the holder would land here and be sent straight back.
    field->setFocusPolicy(Qt::ClickFocus);
    field->installEventFilter(this);
    field->setMouseTracking(true);
    field->setDragEnabled(false);
    field->setContextMenuPolicy(Qt::NoContextMenu);
}

QWidget* DisplayFields::focusHolder(const QLineEdit* field) const
{
    return m_holders.value(field);
}

QString DisplayFields::wf_GetDragText(QLineEdit* field) const
{
    if (field == nullptr) {
        return {};
    }
    field->setSelection(0, static_cast<int>(field->text().size()));
    const QString value = field->selectedText();
    return m_exact.contains(field) ? value : value + QLatin1Char(' ');
}

void DisplayFields::startDrag(QLineEdit* field)
{
    auto* data = new QMimeData;
    data->setText(wf_GetDragText(field));
    dragRunner()(field, data, Qt::CopyAction);
}

void DisplayFields::setDragRunner(DragRunner runner)
{
    dragRunner() = runner ? std::move(runner) : DragRunner(runDrag);
}

bool DisplayFields::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field == nullptr || !m_holders.contains(field)) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::FocusIn:
        // No caret may stay in a display field: nothing can be typed into it.
        if (QWidget* holder = m_holders.value(field)) {
            holder->setFocus(Qt::OtherFocusReason);
        }
        return false;
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        m_leftPressed = mouse->buttons() == Qt::LeftButton;
        m_pressPosition = mouse->position().toPoint();
        // The press would otherwise start a selection that the drag replaces anyway.
        return m_leftPressed;
    }
    case QEvent::MouseButtonRelease:
        m_leftPressed = false;
        return false;
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        // The left button alone: with any other button held as well it is no drag.
        const bool dragging =
            mouse->buttons() == Qt::LeftButton && m_leftPressed &&
            (mouse->position().toPoint() - m_pressPosition).manhattanLength() >= QApplication::startDragDistance();
        if (dragging) {
            m_leftPressed = false;
            startDrag(field);
        }
        emit mouseMoved(field);
        return dragging || mouse->buttons() != Qt::NoButton;
    }
    case QEvent::MouseButtonDblClick:
        emit doubleClicked(field);
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}
