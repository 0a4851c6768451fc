#include "cMouseTrack.h"

#include <QApplication>
#include <QLineEdit>
#include <QProxyStyle>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <memory>

namespace {

constexpr int HoverMs = 30;
// Long enough that a hover that was going to come has come.
constexpr int QuietMs = 5 * HoverMs;

class TooltipDelayStyle : public QProxyStyle
{
public:
    explicit TooltipDelayStyle(int delay) : m_delay(delay) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay) {
            return m_delay;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    int m_delay;
};

} // namespace

class tst_cMouseTrack : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_window;
    QLineEdit* m_field = nullptr;
    QLineEdit* m_other = nullptr;

    QWindow* handle() const { return m_window->windowHandle(); }
    QPoint at(QWidget* w, QPoint pos = {}) const
    {
        return w->mapTo(m_window.get(), pos.isNull() ? w->rect().center() : pos);
    }
    void moveTo(QWidget* w, QPoint pos = {}) { QTest::mouseMove(handle(), at(w, pos)); }
    std::unique_ptr<cMouseTrack> attached(qint32 method = -1)
    {
        auto tracker = std::make_unique<cMouseTrack>();
        tracker->setHoverTime(HoverMs);
        tracker->AttachMouseTracking(m_field, method);
        return tracker;
    }
    static void sendToWindow(QWidget* window, QEvent::Type type)
    {
        QEvent event(type);
        QApplication::sendEvent(window, &event);
    }

private slots:
    void init()
    {
        m_window = std::make_unique<QWidget>();
        m_window->resize(300, 200);
        m_field = new QLineEdit(m_window.get());
        m_field->setGeometry(10, 10, 120, 24);
        m_other = new QLineEdit(m_window.get());
        m_other->setGeometry(10, 80, 120, 24);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QTest::mouseMove(handle(), QPoint(250, 180));
    }
    void cleanup() { m_window.reset(); }

    void hoverOncePerPeriodThenLeave_data()
    {
        QTest::addColumn<bool>("restartOnHover");
        QTest::newRow("owner does not start again") << false;
        QTest::newRow("owner starts again from the hover") << true;
    }
    void hoverOncePerPeriodThenLeave()
    {
        QFETCH(bool, restartOnHover);
        auto tracker = attached();
        QSignalSpy hover(tracker.get(), &cMouseTrack::MouseHover);
        QSignalSpy leave(tracker.get(), &cMouseTrack::MouseLeave);
        if (restartOnHover) {
            connect(tracker.get(), &cMouseTrack::MouseHover, tracker.get(), &cMouseTrack::StartMouseTracking);
        }

        // Crossing the field without a period reports nothing.
        moveTo(m_field);
        moveTo(m_other);
        QTest::qWait(QuietMs);
        QCOMPARE(hover.count() + leave.count(), 0);

        moveTo(m_field, QPoint(20, 8));
        tracker->StartMouseTracking();
        QVERIFY(tracker->Tracking());
        QTRY_COMPARE(hover.count(), 1);
        QCOMPARE(hover[0], (QVariantList{0, 0, 20.0f, 8.0f}));
        QCOMPARE(tracker->Tracking(), restartOnHover);
        if (!restartOnHover) {
            QTest::qWait(QuietMs);
            QCOMPARE(hover.count(), 1);
        }

        // The leave is still due after a hover, whether or not the owner started again.
        moveTo(m_other);
        QCOMPARE(leave.count(), 1);
        QVERIFY(!tracker->Tracking());
    }

    void buttonAndShiftSums_data()
    {
        QTest::addColumn<Qt::MouseButtons>("buttons");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("shift");
        const Qt::KeyboardModifiers none;
        QTest::newRow("shift") << Qt::MouseButtons() << Qt::KeyboardModifiers(Qt::ShiftModifier) << 0 << 1;
        QTest::newRow("ctrl") << Qt::MouseButtons() << Qt::KeyboardModifiers(Qt::ControlModifier) << 0 << 2;
        QTest::newRow("ctrl+shift") << Qt::MouseButtons() << (Qt::ControlModifier | Qt::ShiftModifier) << 0 << 3;
        QTest::newRow("alt is not counted") << Qt::MouseButtons() << Qt::KeyboardModifiers(Qt::AltModifier) << 0 << 0;
        QTest::newRow("left") << Qt::MouseButtons(Qt::LeftButton) << none << 1 << 0;
        QTest::newRow("right") << Qt::MouseButtons(Qt::RightButton) << none << 2 << 0;
        QTest::newRow("middle") << Qt::MouseButtons(Qt::MiddleButton) << none << 4 << 0;
        QTest::newRow("left+middle") << (Qt::LeftButton | Qt::MiddleButton) << none << 5 << 0;
        QTest::newRow("all three, ctrl+shift") << (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton)
                                               << (Qt::ControlModifier | Qt::ShiftModifier) << 7 << 3;
    }
    void buttonAndShiftSums()
    {
        QFETCH(Qt::MouseButtons, buttons);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, button);
        QFETCH(int, shift);
        m_field->setContextMenuPolicy(Qt::NoContextMenu); // a menu would take the pointer away
        auto tracker = attached();
        QSignalSpy hover(tracker.get(), &cMouseTrack::MouseHover);
        moveTo(m_field);
        // Held before the period starts, so that a short hover time cannot overtake them.
        const QList<Qt::MouseButton> order{Qt::LeftButton, Qt::MiddleButton, Qt::RightButton};
        if (buttons == Qt::NoButton) {
            // Only a button event carries modifiers without moving the pointer.
            QTest::mouseClick(handle(), Qt::LeftButton, modifiers, at(m_field));
        }
        for (Qt::MouseButton b : order) {
            if (buttons & b) {
                QTest::mousePress(handle(), b, modifiers, at(m_field));
            }
        }
        tracker->StartMouseTracking();
        QTRY_COMPARE(hover.count(), 1);
        for (Qt::MouseButton b : order) {
            if (buttons & b) {
                QTest::mouseRelease(handle(), b, modifiers, at(m_field));
            }
        }
        QCOMPARE(hover[0][0].toInt(), button);
        QCOMPARE(hover[0][1].toInt(), shift);
    }

    void methodChosenOrForced_data()
    {
        QTest::addColumn<int>("force");
        QTest::addColumn<int>("method");
        QTest::addColumn<bool>("hovers");
        QTest::newRow("chosen") << -1 << 0 << true;
        QTest::newRow("forced 0") << 0 << 0 << true;
        QTest::newRow("forced 1") << 1 << 1 << true;
        QTest::newRow("forced 2, capture") << 2 << 2 << false;
        QTest::newRow("forced 7") << 7 << 7 << true;
    }
    void methodChosenOrForced()
    {
        QFETCH(int, force);
        QFETCH(int, method);
        QFETCH(bool, hovers);
        auto tracker = attached(force);
        QCOMPARE(tracker->Method(), method);
        QSignalSpy hover(tracker.get(), &cMouseTrack::MouseHover);
        QSignalSpy leave(tracker.get(), &cMouseTrack::MouseLeave);
        moveTo(m_field);
        tracker->StartMouseTracking();
        if (hovers) {
            QTRY_COMPARE(hover.count(), 1);
        } else {
            QTest::qWait(QuietMs);
            QCOMPARE(hover.count(), 0);
            QVERIFY(tracker->Tracking());
        }
        moveTo(m_other);
        QCOMPARE(leave.count(), 1);
        QVERIFY(!tracker->Tracking());
        QVERIFY(QWidget::mouseGrabber() != m_field);
    }

    void pointerGoneEndsPeriod_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<bool>("start");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("leaves");
        QTest::newRow("0: started with the pointer elsewhere") << 0 << true << "elsewhere" << 1;
        QTest::newRow("0: onto another field") << 0 << true << "other" << 1;
        QTest::newRow("0: field hidden") << 0 << true << "hide" << 1;
        QTest::newRow("0: window deactivated") << 0 << true << "deactivate" << 0;
        QTest::newRow("2: onto another field") << 2 << true << "other" << 1;
        QTest::newRow("2: field hidden") << 2 << true << "hide" << 1;
        QTest::newRow("2: window deactivated") << 2 << true << "deactivate" << 1;
        QTest::newRow("2: window activated") << 2 << true << "activate" << 1;
        QTest::newRow("2: idle, window deactivated") << 2 << false << "deactivate" << 0;
        QTest::newRow("2: idle, window activated") << 2 << false << "activate" << 0;
    }
    void pointerGoneEndsPeriod()
    {
        QFETCH(int, method);
        QFETCH(bool, start);
        QFETCH(QString, how);
        QFETCH(int, leaves);
        auto tracker = attached(method);
        tracker->setHoverTime(60 * 1000); // only the leave is under test here
        QSignalSpy leave(tracker.get(), &cMouseTrack::MouseLeave);
        moveTo(how == "elsewhere" ? m_other : m_field);
        if (start) {
            tracker->StartMouseTracking();
        }
        if (how == "other") {
            moveTo(m_other);
        } else if (how == "hide") {
            m_field->hide();
        } else {
            sendToWindow(m_window.get(), how == "activate" ? QEvent::WindowActivate : QEvent::WindowDeactivate);
        }
        QTRY_COMPARE(leave.count(), leaves);
        QTest::qWait(QuietMs);
        QCOMPARE(leave.count(), leaves);
        QCOMPARE(tracker->Tracking(), start && leaves == 0);
        if (leaves > 0) {
            QVERIFY(QWidget::mouseGrabber() != m_field);
        }
    }

    void captureLeaveWaitsForButtons_data()
    {
        QTest::addColumn<bool>("releaseInside");
        QTest::newRow("released outside: leave") << false;
        QTest::newRow("released inside: new period") << true;
    }
    void captureLeaveWaitsForButtons()
    {
        QFETCH(bool, releaseInside);
        auto tracker = attached(cMouseTrack::TrackCapture);
        QSignalSpy leave(tracker.get(), &cMouseTrack::MouseLeave);
        moveTo(m_field);
        tracker->StartMouseTracking();
        QCOMPARE(QWidget::mouseGrabber(), m_field);
        QTest::mousePress(handle(), Qt::LeftButton, {}, at(m_field));
        moveTo(m_other);
        QCOMPARE(leave.count(), 0);
        QVERIFY(tracker->Tracking());

        // A click can cost the grab; a release inside must take it again.
        m_field->releaseMouse();
        QWidget* releaseOn = releaseInside ? m_field : m_other;
        moveTo(releaseOn);
        QTest::mouseRelease(handle(), Qt::LeftButton, {}, at(releaseOn));
        QCOMPARE(leave.count(), releaseInside ? 0 : 1);
        QCOMPARE(tracker->Tracking(), releaseInside);
        QCOMPARE(QWidget::mouseGrabber() == m_field, releaseInside);
    }

    void startWhileTrackingChangesNothing()
    {
        auto capture = attached(cMouseTrack::TrackCapture);
        moveTo(m_field);
        capture->StartMouseTracking();
        m_other->grabMouse();
        capture->StartMouseTracking();
        QCOMPARE(QWidget::mouseGrabber(), m_other);
        // Letting go releases only a grab of our own.
        capture.reset();
        QCOMPARE(QWidget::mouseGrabber(), m_other);
        m_other->releaseMouse();
    }

    void detachStopsReportsAndReattachWorks_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<bool>("destroyField");
        QTest::newRow("0: detached") << 0 << false;
        QTest::newRow("2: detached") << 2 << false;
        QTest::newRow("0: field destroyed") << 0 << true;
        QTest::newRow("2: field destroyed") << 2 << true;
    }
    void detachStopsReportsAndReattachWorks()
    {
        QFETCH(int, method);
        QFETCH(bool, destroyField);
        auto tracker = attached(method);
        QSignalSpy hover(tracker.get(), &cMouseTrack::MouseHover);
        QSignalSpy leave(tracker.get(), &cMouseTrack::MouseLeave);
        moveTo(m_field);
        tracker->StartMouseTracking();
        if (destroyField) {
            delete m_field;
            m_field = nullptr;
        } else {
            tracker->DetachMouseTracking();
        }
        QVERIFY(!tracker->Tracking());
        QCOMPARE(QWidget::mouseGrabber(), nullptr);

        // A detached tracker neither reports nor lets a period begin that would outlive it.
        tracker->StartMouseTracking();
        QVERIFY(!tracker->Tracking());
        moveTo(m_other);
        QTest::qWait(QuietMs);
        QCOMPARE(hover.count() + leave.count(), 0);
        tracker->DetachMouseTracking();

        tracker->AttachMouseTracking(m_other);
        QCOMPARE(tracker->Method(), cMouseTrack::TrackUser32);
        tracker->StartMouseTracking();
        QTRY_COMPARE(hover.count(), 1);
        QCOMPARE(leave.count(), 0);
    }

    void hoverComesBeforeTooltip_data()
    {
        QTest::addColumn<int>("tooltipDelay");
        QTest::newRow("no delay given") << 0;
        QTest::newRow("usual") << 700;
        QTest::newRow("short") << 100;
        QTest::newRow("long") << 3000;
    }
    void hoverComesBeforeTooltip()
    {
        QFETCH(int, tooltipDelay);
        TooltipDelayStyle style(tooltipDelay);
        m_field->setStyle(&style);
        cMouseTrack tracker;
        tracker.AttachMouseTracking(m_field);
        const int hoverTime = tracker.hoverTime();
        m_field->setStyle(nullptr);
        QVERIFY(hoverTime > 0);
        QVERIFY(hoverTime <= cMouseTrack::DefaultHoverTime);
        if (tooltipDelay > 0) {
            QVERIFY2(hoverTime < tooltipDelay, qPrintable(QString::number(hoverTime)));
        } else {
            QCOMPARE(hoverTime, cMouseTrack::DefaultHoverTime);
        }
    }
};

QTEST_MAIN(tst_cMouseTrack)
#include "tst_cMouseTrack.moc"
