#include "TestSupport.h"
#include "cMouseTrack.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <memory>

using testsupport::row;

namespace {

constexpr int HoverMs = 30;
// Long enough that a hover that was going to come has come.
constexpr int QuietMs = 5 * HoverMs;

} // namespace

class tst_cMouseTrack : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_window;
    QLineEdit* m_field = nullptr;
    QLineEdit* m_other = nullptr;

    QWindow* handle() const { return m_window->windowHandle(); }
    void moveTo(QWidget* w) { QTest::mouseMove(handle(), w->mapTo(m_window.get(), w->rect().center())); }
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
    // (wait for that report), wait, hide, deactivate, detach, destroy (the field), attach (to the other field),
    // ? (state). The trace records H for a hover, L for a leave, and at each ?: t tracking or - not.
    // The program tracks by hover and leave only; the capture method is never chosen.
    void periods_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("trace");
        row("crossing without a period reports nothing", -1, "field other wait", "");
        row("forced 7 behaves as 0", 7, "field start hover other ?", "HL-");
        row("started with the pointer elsewhere", 0, "slow other start leave wait ?", "L-");
        row("field hidden", 0, "slow field start hide leave wait ?", "L-");
        row("window deactivation ignored", 0, "slow field start deactivate wait ?", "t");
        row("detached, attached again", 0, "field start detach ? start ? other wait attach start hover", "--H");
        row("field destroyed, attached again", 0, "field start destroy ? start ? other wait attach start hover", "--H");
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
        for (const QString& step : steps.split(' ')) {
            if (step == "field" || step == "other") {
                moveTo(step == "field" ? m_field : m_other);
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
            } else if (step == "deactivate") {
                QEvent event(QEvent::WindowDeactivate);
                QApplication::sendEvent(m_window.get(), &event);
            } else if (step == "detach") {
                tracker->DetachMouseTracking();
            } else if (step == "destroy") {
                delete m_field;
                m_field = nullptr;
            } else if (step == "attach") {
                tracker->AttachMouseTracking(m_other);
            } else if (step == "?") {
                seen += QLatin1String(tracker->Tracking() ? "t" : "-");
            } else {
                QFAIL(qPrintable(step));
            }
        }
        QCOMPARE(seen, trace);
    }
};

QTEST_MAIN(tst_cMouseTrack)
#include "tst_cMouseTrack.moc"
