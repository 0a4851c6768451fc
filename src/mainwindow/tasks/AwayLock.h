#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class QMenu;

// Locks the program when the person walks away: when the desktop's screen saver starts, when the
// login manager locks the session, and after a number of minutes without a key or a mouse move
// in the program. A lock that comes while a dialog of the program is open waits until it is
// closed, so that nothing typed into it is lost.
class AwayLock : public QObject
{
    Q_OBJECT

public:
    // lock does the locking; it decides itself whether there is anything to lock. The buses are
    // the session's and the system's unless given (tests bring private ones).
    explicit AwayLock(std::function<void()> lock, QObject* parent = nullptr);
    AwayLock(std::function<void()> lock, const QDBusConnection& sessionBus, const QDBusConnection& systemBus,
             QObject* parent = nullptr);
    ~AwayLock() override;

    // Minutes without input before the lock; 0 turns the idle lock off.
    void setIdleMinutes(int minutes);
    int idleMinutes() const { return m_idleMinutes; }
    // The length of an idle "minute" in ms; tests shorten it.
    void setMinuteMs(int ms);

    // Tells whether the program is locked already; a lock asked for then is dropped.
    void setLockedTest(std::function<bool()> locked) { m_locked = std::move(locked); }

    // The View menu's "Lock When &Idle" with its choices (Off, 1, 5, 15 and 60 minutes); a choice
    // takes effect at once and is stored.
    QMenu* addIdleMenu(QMenu* view);

    // Locks now, or as soon as no dialog of the program is open.
    void requestLock();
    bool lockWaiting() const { return m_waiting; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void screenSaverActiveChanged(bool active);
    void sessionLock();

private:
    void listen(QDBusConnection sessionBus, QDBusConnection systemBus);
    void restartIdle();
    void tryLock();

    std::function<void()> m_lock;
    std::function<bool()> m_locked;
    QTimer m_idle;
    QTimer m_wait;
    int m_idleMinutes = 0;
    int m_minuteMs = 60 * 1000;
    bool m_waiting = false;
    QString m_sessionPath;
};
