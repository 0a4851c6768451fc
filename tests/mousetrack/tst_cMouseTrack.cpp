#include "TestSupport.h"
#include "cMouseTrack.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <memory>

using testsupport::row;

namespace {

constexpr int HoverMs = 30;
// Long enough that a hover that was going to come has come.
constexpr int QuietMs = 5 * HoverMs;

using Buttons = Qt::MouseButtons;
using Mods = Qt::KeyboardModifiers;

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

    // A period as a script of steps: field, other (pointer onto it), start, slow (no hover comes), hover and leave
    // (wait for that report), wait, hide, activate, deactivate, press and release (left button where the pointer is),
    // ungrab (the field loses the grab), detach, destroy (the field), attach (to the other field), grab (the other
    // field grabs the mouse), drop (the tracker), ? (state). The trace records H for a hover, L for a leave, and at
    // each ?: t tracking or - not, then g or o when the field or the other field holds the grab.
    void periods_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("trace");
        row("crossing without a period reports nothing", -1, "field other wait", "");
        row("forced 7 behaves as 0", 7, "field start hover other ?", "HL-");
        row("capture: leave only", 2, "field start ? wait ? other ?", "tgtgL-");
        row("0: started with the pointer elsewhere", 0, "slow other start leave wait ?", "L-");
        row("0: field hidden", 0, "slow field start hide leave wait ?", "L-");
        row("0: window deactivation ignored", 0, "slow field start deactivate wait ?", "t");
        row("2: field hidden", 2, "field start hide leave wait ?", "L-");
        row("2: window deactivated", 2, "field start deactivate leave wait ?", "L-");
        row("2: idle, window deactivated", 2, "field deactivate wait ?", "-");
        row("2: held button outside, released outside", 2, "field start press other ? ungrab release ?", "tgL-");
        row("2: held button outside, released inside", 2, "field start press other ? ungrab field release ?", "tgtg");
        row("2: a second start and letting go keep another's grab", 2, "field start grab start ? drop ?", "too");
        row("2: detached, attached again", 2, "field start detach ? start ? other wait attach start hover", "--H");
        row("2: field destroyed, attached again", 2, "field start destroy ? start ? other wait attach start hover",
            "--H");
    }
    void periods()
    {
        QFETCH(int, method);
        QFETCH(QString, steps);
        QFETCH(QString, trace);
        auto tracker = attached(method);
        QCOMPARE(tracker->Method(), method < 0 ? int(cMouseTrack::TrackUser32) : method);
        QString seen;
        connect(tracker.get(), &cMouseTrack::MouseHover, this, [&seen] { seen += 'H'; });
        connect(tracker.get(), &cMouseTrack::MouseLeave, this, [&seen] { seen += 'L'; });
        QWidget* pointer = nullptr;
        for (const QString& step : steps.split(' ')) {
            if (step == "field" || step == "other") {
                pointer = step == "field" ? m_field : m_other;
                moveTo(pointer);
            } else if (step == "start") {
                tracker->StartMouseTracking();
            } else if (step == "slow") {
                tracker->setHoverTime(60 * 1000);
            } else if (step == "hover" || step == "leave") {
                QTRY_VERIFY(seen.endsWith(step == "hover" ? 'H' : 'L'));
            } else if (step == "wait") {
                QTest::qWait(QuietMs);
            } else if (step == "hide") {
                m_field->hide();
            } else if (step == "activate" || step == "deactivate") {
                QEvent event(step == "activate" ? QEvent::WindowActivate : QEvent::WindowDeactivate);
                QApplication::sendEvent(m_window.get(), &event);
            } else if (step == "press" || step == "release") {
                if (step == "press") {
                    QTest::mousePress(handle(), Qt::LeftButton, {}, at(pointer));
                } else {
                    QTest::mouseRelease(handle(), Qt::LeftButton, {}, at(pointer));
                }
            } else if (step == "ungrab") {
                m_field->releaseMouse(); // a click can cost the grab; a release inside must take it again
            } else if (step == "detach") {
                tracker->DetachMouseTracking();
            } else if (step == "destroy") {
                delete m_field;
                m_field = nullptr;
            } else if (step == "grab") {
                m_other->grabMouse();
            } else if (step == "drop") {
                tracker.reset();
            } else if (step == "attach") {
                tracker->AttachMouseTracking(m_other);
            } else if (step == "?") {
                seen += QLatin1String(!tracker ? "" : tracker->Tracking() ? "t" : "-");
                const QWidget* grabber = QWidget::mouseGrabber();
                seen += QLatin1String(grabber == nullptr ? "" : grabber == m_field ? "g" : "o");
            } else {
                QFAIL(qPrintable(step));
            }
        }
        QCOMPARE(seen, trace);
    }

    void hoverSaysButtonsShiftAndWhere_data()
    {
        QTest::addColumn<Buttons>("buttons");
        QTest::addColumn<Mods>("modifiers");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("shift");
        row("left, shift", Buttons(Qt::LeftButton), Mods(Qt::ShiftModifier), 1, 1);
        row("all three, ctrl+shift", Qt::LeftButton | Qt::RightButton | Qt::MiddleButton,
            Qt::ControlModifier | Qt::ShiftModifier, 7, 3);
    }
    void hoverSaysButtonsShiftAndWhere()
    {
        QFETCH(Buttons, buttons);
        QFETCH(Mods, modifiers);
        QFETCH(int, button);
        QFETCH(int, shift);
        m_field->setContextMenuPolicy(Qt::NoContextMenu); // a menu would take the pointer away
        auto tracker = attached();
        QSignalSpy hover(tracker.get(), &cMouseTrack::MouseHover);
        const QPoint where = at(m_field, QPoint(20, 8));
        QTest::mouseMove(handle(), where);
        // Held before the period starts, so that a short hover time cannot overtake them.
        const QList<Qt::MouseButton> order{Qt::LeftButton, Qt::MiddleButton, Qt::RightButton};
        for (Qt::MouseButton b : order) {
            if (buttons & b) {
                QTest::mousePress(handle(), b, modifiers, where);
            }
        }
        tracker->StartMouseTracking();
        QTRY_COMPARE(hover.count(), 1);
        for (Qt::MouseButton b : order) {
            if (buttons & b) {
                QTest::mouseRelease(handle(), b, modifiers, where);
            }
        }
        QCOMPARE(hover[0], (QVariantList{button, shift, 20.0f, 8.0f}));
    }
};

QTEST_MAIN(tst_cMouseTrack)
#include "tst_cMouseTrack.moc"
