#include "cMouseTrack.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace {

qint32 buttonSum(Qt::MouseButtons held)
{
    qint32 sum = 0;
    if (held & Qt::LeftButton) {
        sum += 1;
    }
    if (held & Qt::RightButton) {
        sum += 2;
    }
    if (held & Qt::MiddleButton) {
        sum += 4;
    }
    return sum;
}

qint32 shiftSum(Qt::KeyboardModifiers held)
{
    qint32 sum = 0;
    if (held & Qt::ShiftModifier) {
        sum += 1;
    }
    if (held & Qt::ControlModifier) {
        sum += 2;
    }
    return sum;
}

bool isTrackedButton(Qt::MouseButton button)
{
    return button == Qt::LeftButton || button == Qt::RightButton || button == Qt::MiddleButton;
}

} // namespace

cMouseTrack::cMouseTrack(QObject* parent) : QObject(parent)
{
    m_hoverTimer.setSingleShot(true);
    connect(&m_hoverTimer, &QTimer::timeout, this, &cMouseTrack::hoverTimeout);
}

cMouseTrack::~cMouseTrack()
{
    DetachMouseTracking();
}

void cMouseTrack::DetectMethod()
{
    // The toolkit reports entering and leaving on every platform it runs on, so the hover and
    // leave method is always available; the capture method is only ever forced.
    m_bUseCapture = false;
    m_eMethod = TrackUser32;
}

void cMouseTrack::AttachMouseTracking(QWidget* objTo, qint32 eForceMethod)
{
    DetachMouseTracking();

    m_bUseCapture = false;
    if (eForceMethod != -1) {
        m_bUseCapture = eForceMethod == TrackCapture;
        m_eMethod = eForceMethod;
    } else {
        DetectMethod();
    }

    if (!objTo) {
        return;
    }
    m_hWnd = objTo;
    objTo->installEventFilter(this);
    m_destroyedConnection = connect(objTo, &QObject::destroyed, this, &cMouseTrack::watchedDestroyed);
    m_inside = objTo->underMouse();
    m_lastPos = objTo->mapFromGlobal(QCursor::pos());
    if (m_bUseCapture) {
        watchWindow(objTo->window());
    }
}

void cMouseTrack::StartMouseTracking()
{
    // Without a widget there is nothing to report on; a period marked as running here would
    // survive into the next attachment and keep the owner from ever starting one there.
    if (m_bTracking || !m_hWnd) {
        return;
    }
    ++m_period;
    if (m_bUseCapture) {
        if (m_hWnd->isVisible()) {
            m_hWnd->grabMouse();
        }
        m_bTracking = true;
        return;
    }

    m_bTracking = true;
    m_leaveDue = true;
    if (!m_inside && m_hWnd->underMouse()) {
        m_inside = true;
        m_lastPos = m_hWnd->mapFromGlobal(QCursor::pos());
    }
    m_restPos = m_lastPos;
    m_hoverTimer.start(hoverTime());
    if (!m_inside) {
        // Started while the pointer is elsewhere: the period ends at once, as on leaving.
        postLeave(PointerGone);
    }
}

void cMouseTrack::DetachMouseTracking()
{
    ++m_period;
    m_hoverTimer.stop();
    m_bTracking = false;
    m_leaveDue = false;
    m_inside = false;
    unwatchWindow();
    if (!m_hWnd) {
        return;
    }
    if (m_bUseCapture) {
        releaseCapture();
    }
    disconnect(m_destroyedConnection);
    m_hWnd->removeEventFilter(this);
    m_hWnd = nullptr;
}

void cMouseTrack::setHoverTime(int ms)
{
    m_hoverTimeOverride = std::max(ms, 0);
}

int cMouseTrack::hoverTime() const
{
    if (m_hoverTimeOverride > 0) {
        return m_hoverTimeOverride;
    }
    // The owner sets the widget's tooltip text on a hover, and the tooltip reads it when its own
    // delay runs out. A hover at or after that moment would leave the first rest on a widget
    // without its tooltip, so it has to come well before.
    const QStyle* style = m_hWnd ? m_hWnd->style() : QApplication::style();
    const int tooltipDelay = style ? style->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, m_hWnd) : 0;
    if (tooltipDelay <= 0) {
        return DefaultHoverTime;
    }
    return std::clamp(tooltipDelay / 2, 1, DefaultHoverTime);
}

void cMouseTrack::watchWindow(QWidget* window)
{
    m_hWndParent = window;
    if (window && window != m_hWnd) {
        window->installEventFilter(this);
    }
}

void cMouseTrack::unwatchWindow()
{
    if (m_hWndParent && m_hWndParent != m_hWnd) {
        m_hWndParent->removeEventFilter(this);
    }
    m_hWndParent = nullptr;
}

void cMouseTrack::watchedDestroyed()
{
    // No leave: the owner would answer it by changing a widget that no longer exists.
    ++m_period;
    m_hoverTimer.stop();
    m_bTracking = false;
    m_leaveDue = false;
    m_inside = false;
    unwatchWindow();
    m_hWnd = nullptr;
}

bool cMouseTrack::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_hWnd) {
        return false;
    }
    const QEvent::Type type = event->type();
    if (m_bUseCapture && watched == m_hWndParent &&
        (type == QEvent::WindowActivate || type == QEvent::WindowDeactivate)) {
        // Whichever way the activation went, the pointer may now be over another window that
        // takes the mouse from us.
        postLeave(Activation);
        return false;
    }
    if (watched != m_hWnd) {
        return false;
    }

    switch (type) {
    case QEvent::Enter:
        m_inside = true;
        m_lastPos = static_cast<QEnterEvent*>(event)->position().toPoint();
        break;
    case QEvent::Leave:
        m_inside = false;
        postLeave(PointerGone);
        break;
    case QEvent::Hide:
        m_inside = false;
        postLeave(Hidden);
        break;
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint pos = mouse->position().toPoint();
        m_lastPos = pos;
        if (m_bUseCapture) {
            captureMouseMessage(pos, mouse->buttons(), false);
            break;
        }
        // While a button is held the widget keeps getting moves after the pointer has left it.
        m_inside = m_hWnd->rect().contains(pos);
        if (!m_inside) {
            pointerLeft();
        } else if (m_bTracking && (pos - m_restPos).manhattanLength() > HoverSlop) {
            m_restPos = pos;
            m_hoverTimer.start(hoverTime());
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_bUseCapture && isTrackedButton(mouse->button())) {
            captureMouseMessage(mouse->position().toPoint(), mouse->buttons(), true);
        }
        break;
    }
    case QEvent::ParentChange:
        if (m_bUseCapture && m_hWnd->window() != m_hWndParent) {
            unwatchWindow();
            watchWindow(m_hWnd->window());
        }
        break;
    default:
        break;
    }
    return false;
}

void cMouseTrack::hoverTimeout()
{
    // Only a pointer still on the widget has come to rest there; otherwise the pending leave
    // settles the period.
    if (!m_bTracking || m_bUseCapture || !m_hWnd || !m_inside) {
        return;
    }
    m_bTracking = false;
    emit MouseHover(buttonSum(QGuiApplication::mouseButtons()), shiftSum(QGuiApplication::keyboardModifiers()),
                    static_cast<float>(m_lastPos.x()), static_cast<float>(m_lastPos.y()));
}

void cMouseTrack::pointerLeft()
{
    if (!m_leaveDue) {
        return;
    }
    m_leaveDue = false;
    m_bTracking = false;
    m_hoverTimer.stop();
    emit MouseLeave();
}

void cMouseTrack::postLeave(LeaveCause cause)
{
    // Answered from the event loop, as a posted message would be: the toolkit also reports a
    // leave while the widget is being destroyed, and the owner must not be sent to a widget in
    // that state. A newer period, a detach or the widget's end make the report void.
    const quint64 period = m_period;
    QMetaObject::invokeMethod(
        this,
        [this, period, cause] {
            if (period != m_period || !m_hWnd) {
                return;
            }
            if (!m_bUseCapture) {
                // The pointer may have come back before this was answered.
                if (!m_inside) {
                    pointerLeft();
                }
                return;
            }
            if (!m_bTracking) {
                return;
            }
            // Holding a button keeps the period going, as with every other mouse message.
            if (cause == PointerGone && QGuiApplication::mouseButtons() != Qt::NoButton) {
                return;
            }
            m_bTracking = false;
            releaseCapture();
            emit MouseLeave();
        },
        Qt::QueuedConnection);
}

bool cMouseTrack::captureInside(QPoint pos) const
{
    if (!m_hWnd->rect().contains(pos)) {
        return false;
    }
    // Inside the rectangle is not enough: another window or a sibling may cover that point.
    QWidget* window = m_hWnd->window();
    const QPoint global = m_hWnd->mapToGlobal(pos);
    QWidget* topLevel = QApplication::topLevelAt(global);
    if (topLevel && topLevel != window) {
        return false;
    }
    QWidget* hit = window->childAt(window->mapFromGlobal(global));
    if (!hit) {
        hit = window;
    }
    return hit == m_hWnd || m_hWnd->isAncestorOf(hit);
}

void cMouseTrack::captureMouseMessage(QPoint pos, Qt::MouseButtons held, bool buttonUp)
{
    if (!m_bTracking) {
        return;
    }
    if (!captureInside(pos)) {
        // A drag that started on the widget keeps the period going until every button is up.
        if (held == Qt::NoButton) {
            m_bTracking = false;
            releaseCapture();
            emit MouseLeave();
        }
        return;
    }
    if (buttonUp) {
        // A click can cost the grab (a context menu takes the mouse), so take it again.
        m_bTracking = false;
        StartMouseTracking();
    }
}

void cMouseTrack::releaseCapture()
{
    // Only our own grab: another widget's, or another tracker's, is not ours to end.
    if (m_hWnd && QWidget::mouseGrabber() == m_hWnd) {
        m_hWnd->releaseMouse();
    }
}
