#include "TrayControl.h"

#include "AboutTexts.h"
#include "General.h"
#include "PasswordPrompt.h"
#include "Platform.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QWidget>

#include <algorithm>

namespace {

// How often a window hidden in the tray makes sure the tray is still there.
constexpr int kTrayWatchMs = 2000;
// How long the desktop's report of a minimise must hold before it counts as the person's.
constexpr int kDesktopSettleMs = 50;
const QString kCoverName = QStringLiteral("TrayControlCover");

QWidget* coverOf(const QWidget* window)
{
    return window->findChild<QWidget*>(kCoverName, Qt::FindDirectChildrenOnly);
}

} // namespace

TrayControl::TrayControl(QWidget* window, Commands commands, TrayAvailable trayAvailable, QObject* parent)
    : QObject(parent), m_window(window), m_commands(std::move(commands)), m_trayAvailable(std::move(trayAvailable))
{
    if (!m_trayAvailable) {
        m_trayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    }
    // The program ends when the main window unloads. While the window is vanished no window is
    // visible, and closing the password check or a message then must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);

    buildMenu();
    if (m_window) {
        m_window->installEventFilter(this);
    }
    m_trayWatch.setInterval(kTrayWatchMs);
    connect(&m_trayWatch, &QTimer::timeout, this, &TrayControl::trayWatch);
}

TrayControl::~TrayControl()
{
    RemoveTrayIcon();
    if (m_window) {
        m_window->removeEventFilter(this);
    }
}

void TrayControl::buildMenu()
{
    m_menu = m_window ? m_window->findChild<QMenu*>(QStringLiteral("mnu_SysTray")) : nullptr;
    if (!m_menu) {
        m_menu = new QMenu(QStringLiteral("Systray Menu"), m_window);
        m_menu->setObjectName(QStringLiteral("mnu_SysTray"));
        const char* const items[][2] = {
            {"mnu_SysTrayTitle", "Corvanta"},
            {"mnu_SysTrayBar0", nullptr},
            {"mnu_SysTrayCreateCredit", "Create Credit Card"},
            {"mnu_SysTrayCreateTravel", "Create Travel Program"},
            {"mnu_SysTrayCreateWeb", "Create Web Account"},
            {"mnu_SysTrayBar1", nullptr},
            {"mnu_SysTrayExit", "Exit"},
            {"mnu_SysTrayBar2", nullptr},
            {"mnu_SysTrayRestore", "Restore"},
        };
        for (const auto& item : items) {
            QAction* action =
                item[1] != nullptr ? m_menu->addAction(QString::fromLatin1(item[1])) : m_menu->addSeparator();
            action->setObjectName(QString::fromLatin1(item[0]));
        }
    }
    setTrayMenuEnabled(false);

    const struct
    {
        const char* name;
        void (TrayControl::*handler)();
    } handlers[] = {
        {"mnu_SysTrayCreateCredit", &TrayControl::mnu_SysTrayCreateCredit_Click},
        {"mnu_SysTrayCreateTravel", &TrayControl::mnu_SysTrayCreateTravel_Click},
        {"mnu_SysTrayCreateWeb", &TrayControl::mnu_SysTrayCreateWeb_Click},
        {"mnu_SysTrayExit", &TrayControl::mnu_SysTrayExit_Click},
        {"mnu_SysTrayRestore", &TrayControl::mnu_SysTrayRestore_Click},
    };
    for (const auto& [name, handler] : handlers) {
        if (QAction* action = menuItem(name)) {
            connect(action, &QAction::triggered, this, handler);
        }
    }

    m_vanish = m_window ? m_window->findChild<QAction*>(QStringLiteral("mnu_Vanish")) : nullptr;
    if (!m_vanish) {
        m_vanish = new QAction(QStringLiteral("<Vanish>"), this);
        m_vanish->setObjectName(QStringLiteral("mnu_Vanish"));
    }
    connect(m_vanish, &QAction::triggered, this, &TrayControl::mnu_Vanish_Click);
}

QAction* TrayControl::menuItem(const char* name) const
{
    if (QLatin1String(name) == QLatin1String("mnu_Vanish")) {
        return m_vanish;
    }
    if (!m_menu) {
        return nullptr;
    }
    // A window's form makes its actions children of the window, not of the menu that shows them.
    const QList<QAction*> items = m_menu->actions();
    const auto found = std::find_if(items.cbegin(), items.cend(),
                                    [name](const QAction* item) { return item->objectName() == QLatin1String(name); });
    return found != items.cend() ? *found : nullptr;
}

void TrayControl::AddTrayIcon()
{
    if (m_icon != nullptr) {
        return;
    }
    m_icon = new QSystemTrayIcon(about::ProgramIcon(), this);
    m_icon->setToolTip(QStringLiteral("Corvanta"));
    connect(m_icon, &QSystemTrayIcon::activated, this, &TrayControl::trayIcon_Activated);
    m_icon->show();
}

void TrayControl::RemoveTrayIcon()
{
    m_trayWatch.stop();
    if (m_icon == nullptr) {
        return;
    }
    m_icon->hide();
    delete m_icon;
    m_icon = nullptr;
}

bool TrayControl::lockApplies() const
{
    // Without a password there is nothing to ask, whatever the stored lock setting says.
    return m_locked || (gbool_Lock && !gstr_Password.isEmpty());
}

void TrayControl::lock(bool whateverTheSetting)
{
    const bool applies = whateverTheSetting ? m_locked || !gstr_Password.isEmpty() : lockApplies();
    if (!applies) {
        return;
    }
    // Covered first: whatever gives the window back before the check shows nothing of the data.
    showCover(true);
    if (m_locked) {
        return;
    }
    m_locked = true;
    if (const std::function<void()> lockCommand = m_commands.lock) {
        lockCommand();
    }
}

void TrayControl::lockMinimised()
{
    m_state = State::Minimised;
    m_trayWatch.stop();
    lock();
}

void TrayControl::lockWindow()
{
    if (!m_window || (!m_locked && gstr_Password.isEmpty())) {
        return;
    }
    lock(true);
    if (m_state == State::Shown) {
        m_state = State::Minimised;
        m_trayWatch.stop();
        m_applyingState = true;
        m_window->showMinimized();
        m_applyingState = false;
    }
}

bool TrayControl::trayShown() const
{
    return m_icon != nullptr && m_icon->isVisible() && m_trayAvailable();
}

void TrayControl::setTrayMenuEnabled(bool enabled)
{
    if (m_menu) {
        m_menu->setEnabled(enabled);
        m_menu->menuAction()->setEnabled(enabled);
    }
}

void TrayControl::trayIcon_Activated(QSystemTrayIcon::ActivationReason reason)
{
    if (!m_window) {
        return;
    }
    if (m_checking) {
        // The check already asks; a second one would only stack up behind it.
        if (m_check) {
            m_check->raise();
            m_check->activateWindow();
        }
        return;
    }
    const bool vanished = m_state != State::Shown;
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        if (!vanished) {
            wf_RestoreApplication(false);
        } else if (wf_RestoreApplication(true) && m_window) {
            m_window->activateWindow();
        }
        break;
    case QSystemTrayIcon::Context:
        if (vanished && m_menu) {
            setTrayMenuEnabled(true);
            m_menu->popup(QCursor::pos());
        }
        break;
    default:
        break;
    }
}

bool TrayControl::checkPassword()
{
    QPointer<TrayControl> self(this);
    // A window minimised to the task bar and given back by it is on screen under its cover: the
    // check belongs to it, so that a window kept on top cannot hide the check. A window hidden in
    // the tray cannot hold a dialog.
    QWidget* owner = m_window && m_window->isVisible() ? m_window.data() : nullptr;
    // On the heap: should the program end while the check is up, the owner takes it along.
    QPointer<frm_PasswordCheck> dialog = new frm_PasswordCheck(owner);
    dialog->setAttribute(Qt::WA_QuitOnClose, false);
    m_checking = true;
    m_check = dialog.data();
    platform::ShowModal(dialog);
    if (dialog) {
        gstr_CheckPassword = dialog->takePassword();
    }
    delete dialog.data();
    if (!self) {
        gstr_CheckPassword.clear();
        return false;
    }
    m_check = nullptr;
    m_checking = false;

    if (!gbool_PasswordCheckOK) {
        gstr_CheckPassword.clear();
        return false;
    }
    Unlock result = Unlock::WrongPassword;
    if (const std::function<Unlock(const dao::SecureBytes&)> unlock = m_commands.unlock) {
        result = unlock(gstr_CheckPassword);
        if (!self) {
            gstr_CheckPassword.clear();
            return false;
        }
    } else if (gstr_CheckPassword.equals(gstr_Password)) {
        result = Unlock::Opened;
    }
    // Not kept beyond the check.
    gstr_CheckPassword.clear();
    if (result == Unlock::Failed) {
        return false;
    }
    if (result != Unlock::Opened) {
        platform::ShowMessage(QStringLiteral("The password is incorrect."), platform::MessageKind::Information,
                              QStringLiteral("Corvanta Password"));
        return false;
    }
    return true;
}

bool TrayControl::wf_RestoreApplication(bool arbool_Restore)
{
    if (m_checking) {
        return false;
    }
    if (arbool_Restore && m_locked) {
        QPointer<TrayControl> self(this);
        if (!checkPassword() || !self) {
            return false;
        }
        m_locked = false;
    }
    if (!m_window) {
        return false;
    }
    if (arbool_Restore) {
        m_trayWatch.stop();
        setTrayMenuEnabled(false);
        if (m_vanish) {
            m_vanish->setEnabled(true);
        }
        m_state = State::Shown;
        showCover(false);
        m_applyingState = true;
        m_window->showNormal();
        m_applyingState = false;
    }
    m_window->raise();
    m_window->activateWindow();
    return true;
}

void TrayControl::mnu_Vanish_Click()
{
    if (!m_window || m_state != State::Shown) {
        return;
    }
    if (!trayShown()) {
        minimiseInstead();
        return;
    }
    m_state = State::InTray;
    lock();
    m_applyingState = true;
    m_window->hide();
    // Minimised as well as hidden: the window's position is not stored while it is minimised,
    // and a hidden window's is not where the user left it. Only the window is told: asking the
    // desktop to minimise a window it is being told to forget races with that, and the desktop
    // can keep it minimised when it comes back, out of reach of the tray.
    m_window->overrideWindowState(m_window->windowState() | Qt::WindowMinimized);
    m_applyingState = false;
    m_trayWatch.start();
}

void TrayControl::minimiseInstead()
{
    // Hidden with no tray to bring it back from, the window would be beyond reach for good.
    m_state = State::Minimised;
    m_trayWatch.stop();
    lock();
    m_applyingState = true;
    m_window->showMinimized();
    m_applyingState = false;
}

void TrayControl::trayWatch()
{
    // The tray went away (its host ended) while the window was hidden in it.
    if (m_state == State::InTray && m_window && !trayShown()) {
        minimiseInstead();
    }
}

void TrayControl::showCover(bool on)
{
    if (!m_window) {
        return;
    }
    coverOtherWindows(on);
    if (!on) {
        if (m_cover) {
            m_cover->hide();
        }
        return;
    }
    if (!m_cover) {
        m_cover = new QWidget(m_window);
        m_cover->setObjectName(kCoverName);
        m_cover->setAutoFillBackground(true);
    }
    m_cover->setGeometry(m_window->rect());
    m_cover->raise();
    m_cover->show();
}

void TrayControl::coverOtherWindows(bool on)
{
    if (!on) {
        for (const HiddenChild& child : std::as_const(m_hiddenChildren)) {
            if (child.widget) {
                QSizePolicy policy = child.widget->sizePolicy();
                policy.setRetainSizeWhenHidden(child.retainedSize);
                child.widget->setSizePolicy(policy);
                child.widget->show();
            }
        }
        for (const QPointer<QWidget>& focus : std::as_const(m_focusWidgets)) {
            if (focus) {
                focus->setFocus();
            }
        }
        for (const QPointer<QWidget>& cover : std::as_const(m_windowCovers)) {
            if (cover) {
                cover->parentWidget()->removeEventFilter(this);
                delete cover.data();
            }
        }
        m_hiddenChildren.clear();
        m_focusWidgets.clear();
        m_windowCovers.clear();
        return;
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const bool ownWindow = window->windowType() == Qt::Window || window->windowType() == Qt::Dialog;
        // The password check is what takes the covers away; it must be readable itself.
        if (window == m_window || !ownWindow || !window->isVisible() || coverOf(window) != nullptr ||
            qobject_cast<frm_PasswordCheck*>(window) != nullptr) {
            continue;
        }
        m_focusWidgets.append(window->focusWidget());
        // Hidden, not the dialog itself: hiding a dialog ends it and loses what was typed. The
        // children keep their room so that a dialog sized by its layout keeps its size.
        for (QWidget* child : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!child->isWindow() && child->isVisible()) {
                QSizePolicy policy = child->sizePolicy();
                m_hiddenChildren.append({child, policy.retainSizeWhenHidden()});
                policy.setRetainSizeWhenHidden(true);
                child->setSizePolicy(policy);
                child->hide();
            }
        }
        auto* cover = new QWidget(window);
        cover->setObjectName(kCoverName);
        cover->setAutoFillBackground(true);
        cover->setGeometry(window->rect());
        cover->show();
        window->installEventFilter(this);
        m_windowCovers.append(cover);
    }
}

bool TrayControl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        // Only windows are watched here.
        auto* window = static_cast<QWidget*>(watched);
        if (QWidget* cover = coverOf(window); cover != nullptr && cover->isVisible()) {
            cover->setGeometry(window->rect());
        }
    }
    if (watched != m_window) {
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::WindowStateChange && m_state == State::Shown && !m_applyingState &&
        m_window->isMinimized() && lockApplies()) {
        // Minimised by the desktop (its button, a panel, a key): the way <Vanish> goes where there
        // is no tray, whatever the desktop has. The window stays where the person put it, in the
        // task bar, covered, and comes back from there or from the icon only through the check.
        showCover(true);
        if (!event->spontaneous()) {
            lockMinimised();
        } else {
            // The desktop also reports, late, the states this program set itself: a minimise it
            // reports after the window came back is followed by the report of its coming back.
            QTimer::singleShot(kDesktopSettleMs, this, [this] {
                if (m_state != State::Shown || !m_window) {
                    return;
                }
                if (m_window->isMinimized() && lockApplies()) {
                    lockMinimised();
                } else {
                    showCover(false);
                }
            });
        }
    }
    if (event->type() == QEvent::WindowStateChange && m_state == State::Minimised && !m_applyingState && !m_checking &&
        !m_window->isMinimized() && m_window->isVisible()) {
        // Given back by the task bar: what the tray would have asked, ask now, once the desktop
        // has finished changing the window's state.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_state != State::Minimised || m_checking || !m_window || m_window->isMinimized()) {
                    return;
                }
                if (!wf_RestoreApplication(true) && m_window && m_state == State::Minimised) {
                    m_applyingState = true;
                    m_window->showMinimized();
                    m_applyingState = false;
                }
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void TrayControl::createFromTray(const std::function<void()>& create)
{
    // The command may take the controller with it (it can end the program); copy it first.
    const std::function<void()> command = create;
    if (wf_RestoreApplication(true) && command) {
        command();
    }
}

void TrayControl::mnu_SysTrayCreateCredit_Click()
{
    createFromTray(m_commands.createCredit);
}

void TrayControl::mnu_SysTrayCreateTravel_Click()
{
    createFromTray(m_commands.createTravel);
}

void TrayControl::mnu_SysTrayCreateWeb_Click()
{
    createFromTray(m_commands.createWeb);
}

void TrayControl::mnu_SysTrayRestore_Click()
{
    wf_RestoreApplication(true);
}

void TrayControl::mnu_SysTrayExit_Click()
{
    // No password: leaving shows nothing of the data.
    const std::function<void()> exit = m_commands.exit;
    if (platform::ShowMessage(QStringLiteral("Are you sure you want to exit Corvanta?"),
                              platform::MessageKind::Question, QStringLiteral("Corvanta")) == platform::Answer::Yes &&
        exit) {
        exit();
    }
}
