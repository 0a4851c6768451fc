#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

class QWidget;

// Tells its owner when the mouse pointer comes to rest on one widget (MouseHover) and when it
// leaves it (MouseLeave). The owner starts a tracking period whenever it sees the pointer on the
// widget and Tracking() is false; hover and leave end the period.
//
// The widget is watched through an event filter; nothing is ever consumed, so the widget's own
// handling is unchanged.
//
// Methods: 0 and 1 report hover and leave; 2 follows the pointer by grabbing the mouse and
// reports leaves only (when the pointer is outside with no button held, or when the window is
// activated or deactivated). Any other forced number behaves as 0 and is reported unchanged.
class cMouseTrack : public QObject
{
    Q_OBJECT

public:
    enum TrackingMethod : qint32 { TrackUser32 = 0, TrackComCtl32 = 1, TrackCapture = 2 };

    // When the style offers no tooltip delay to measure against.
    static constexpr int DefaultHoverTime = 400;
    // Movement within this many pixels of where the pointer came to rest still counts as resting.
    static constexpr int HoverSlop = 2;

    explicit cMouseTrack(QObject* parent = nullptr);
    ~cMouseTrack() override;

    qint32 Method() const { return m_eMethod; }

    // Watches objTo (after undoing any earlier attachment). eForceMethod -1 lets the tracker
    // choose; a null widget leaves the tracker detached.
    void AttachMouseTracking(QWidget* objTo, qint32 eForceMethod = -1);
    // Starts a tracking period; does nothing while one is under way or when detached.
    void StartMouseTracking();
    // Ends any period and stops every report. A detached tracker can be attached again.
    void DetachMouseTracking();
    bool Tracking() const { return m_bTracking; }

    // Overrides the hover time in milliseconds; 0 or less returns to the desktop's.
    void setHoverTime(int ms);
    int hoverTime() const;

signals:
    // Button: 1 left + 2 right + 4 middle held; Shift: 1 Shift + 2 Ctrl held; X, Y in the
    // widget's coordinates.
    void MouseHover(qint32 Button, qint32 Shift, float X, float Y);
    void MouseLeave();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DetectMethod();
    void watchWindow(QWidget* window);
    void unwatchWindow();
    void watchedDestroyed();

    enum LeaveCause { PointerGone, Hidden, Activation };

    void hoverTimeout();
    void pointerLeft();
    void postLeave(LeaveCause cause);

    bool captureInside(QPoint pos) const;
    void captureMouseMessage(QPoint pos, Qt::MouseButtons held, bool buttonUp);
    void releaseCapture();

    QPointer<QWidget> m_hWnd;
    // The window that holds m_hWnd; watched for activation by the capture method only.
    QPointer<QWidget> m_hWndParent;
    QMetaObject::Connection m_destroyedConnection;

    bool m_bTracking = false;
    bool m_bUseCapture = false;
    qint32 m_eMethod = TrackUser32;

    // Hover and leave methods: a leave stays due after a hover until the pointer leaves, as the
    // owner still needs it to undo what it did when the pointer came.
    bool m_leaveDue = false;
    bool m_inside = false;
    QPoint m_lastPos;
    QPoint m_restPos;
    // Tells a posted leave whether the period it was made for is still the current one.
    quint64 m_period = 0;
    QTimer m_hoverTimer;
    int m_hoverTimeOverride = 0;
};
