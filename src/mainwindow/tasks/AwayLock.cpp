#include "AwayLock.h"

#include "Settings.h"

#include <QActionGroup>
#include <QApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QEvent>
#include <QMenu>
#include <QWidget>

#include <unistd.h>

#include <algorithm>

namespace {

const QString kScreenSaverInterface = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kLoginService = QStringLiteral("org.freedesktop.login1");
const QString kSessionInterface = QStringLiteral("org.freedesktop.login1.Session");

// How often a waiting lock looks whether the dialog in its way has closed.
constexpr int kWaitMs = 250;

} // namespace

AwayLock::AwayLock(std::function<void()> lock, QObject* parent)
    : AwayLock(std::move(lock), QDBusConnection::sessionBus(), QDBusConnection::systemBus(), parent)
{}

AwayLock::AwayLock(std::function<void()> lock, const QDBusConnection& sessionBus, const QDBusConnection& systemBus,
                   QObject* parent)
    : QObject(parent), m_lock(std::move(lock))
{
    m_idle.setSingleShot(true);
    connect(&m_idle, &QTimer::timeout, this, &AwayLock::requestLock);
    m_wait.setInterval(kWaitMs);
    connect(&m_wait, &QTimer::timeout, this, &AwayLock::tryLock);
    listen(sessionBus, systemBus);
    qApp->installEventFilter(this);
}

AwayLock::~AwayLock()
{
    if (qApp != nullptr) {
        qApp->removeEventFilter(this);
    }
}

void AwayLock::listen(QDBusConnection sessionBus, QDBusConnection systemBus)
{
    if (sessionBus.isConnected()) {
        // Desktops send it from either path.
        for (const QString& path : {QStringLiteral("/org/freedesktop/ScreenSaver"), QStringLiteral("/ScreenSaver")}) {
            sessionBus.connect(QString(), path, kScreenSaverInterface, QStringLiteral("ActiveChanged"), this,
                               SLOT(screenSaverActiveChanged(bool)));
        }
    }
    if (systemBus.isConnected()) {
        // Only this program's session: another person's lock is not ours. Where the login
        // manager cannot say which session that is, every session's lock counts.
        QDBusMessage ask = QDBusMessage::createMethodCall(kLoginService, QStringLiteral("/org/freedesktop/login1"),
                                                          QStringLiteral("org.freedesktop.login1.Manager"),
                                                          QStringLiteral("GetSessionByPID"));
        ask << static_cast<uint>(::getpid());
        const QDBusReply<QDBusObjectPath> session = systemBus.call(ask, QDBus::Block, 2000);
        if (session.isValid()) {
            m_sessionPath = session.value().path();
        }
        systemBus.connect(QString(), m_sessionPath, kSessionInterface, QStringLiteral("Lock"), this,
                          SLOT(sessionLock()));
    }
}

void AwayLock::screenSaverActiveChanged(bool active)
{
    if (active) {
        requestLock();
    }
}

void AwayLock::sessionLock()
{
    requestLock();
}

void AwayLock::setIdleMinutes(int minutes)
{
    m_idleMinutes = std::max(0, minutes);
    restartIdle();
}

void AwayLock::setMinuteMs(int ms)
{
    m_minuteMs = std::max(1, ms);
    restartIdle();
}

void AwayLock::restartIdle()
{
    if (m_idleMinutes <= 0) {
        m_idle.stop();
        return;
    }
    m_idle.start(m_idleMinutes * m_minuteMs);
}

QMenu* AwayLock::addIdleMenu(QMenu* view)
{
    auto* menu = view->addMenu(QStringLiteral("Lock When &Idle"));
    menu->setObjectName(QStringLiteral("mnu_ViewLockIdle"));
    menu->menuAction()->setObjectName(menu->objectName());
    auto* group = new QActionGroup(menu);
    const struct
    {
        int minutes;
        const char* text;
    } choices[] = {{0, "&Off"}, {1, "&1 minute"}, {5, "&5 minutes"}, {15, "15 &minutes"}, {60, "&60 minutes"}};
    for (const auto& choice : choices) {
        QAction* item = menu->addAction(QString::fromLatin1(choice.text));
        item->setObjectName(QStringLiteral("mnu_ViewLockIdle%1").arg(choice.minutes));
        item->setCheckable(true);
        item->setChecked(choice.minutes == m_idleMinutes);
        group->addAction(item);
        const int minutes = choice.minutes;
        connect(item, &QAction::triggered, this, [this, minutes] {
            setIdleMinutes(minutes);
            settings::SaveLockIdleMinutes(minutes);
        });
    }
    return menu;
}

void AwayLock::requestLock()
{
    m_waiting = true;
    tryLock();
}

void AwayLock::tryLock()
{
    if (m_locked && m_locked()) {
        // Already locked: a lock asked for meanwhile must not come back after the unlock.
        m_waiting = false;
    }
    if (!m_waiting) {
        m_wait.stop();
        return;
    }
    if (QApplication::activeModalWidget() != nullptr) {
        m_wait.start();
        return;
    }
    m_waiting = false;
    m_wait.stop();
    // An open menu would stay on screen over the covered window.
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
    if (const std::function<void()> lock = m_lock) {
        lock();
    }
}

bool AwayLock::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
        restartIdle();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
