#pragma once

#include "SecureMemory.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>

class QWidget;

// The program's icon in the notification area and the main window's two states: shown, or
// vanished. Vanished means hidden with only the icon left where the desktop has a notification
// area, and minimised to the task bar where it has none, so that the only window is never out
// of reach. Bringing the window back asks for the password first when the lock is on and the
// data file has one.
//
// The tray menu and <Vanish> are the window's own when it has them (mnu_SysTray with its items,
// mnu_Vanish), otherwise made here with the same names.
class TrayControl : public QObject
{
    Q_OBJECT

public:
    // What the password check made of an entry.
    enum class Unlock { Opened, WrongPassword, Failed };

    // The commands the tray menu ends in. exit unloads the main window, which ends the program.
    // lock lets go of everything the window shows when it locks; unlock takes it up again with
    // the password typed into the check (Failed: reported by it already). Without unlock the
    // entry is compared with gstr_Password.
    struct Commands
    {
        std::function<void()> createCredit;
        std::function<void()> createTravel;
        std::function<void()> createWeb;
        std::function<void()> exit;
        std::function<void()> lock;
        std::function<Unlock(const dao::SecureBytes& password)> unlock;
    };
    // Whether the desktop has a notification area now.
    using TrayAvailable = std::function<bool()>;

    enum class State { Shown, InTray, Minimised };

    // Without an availability test, the desktop's is used.
    TrayControl(QWidget* window, Commands commands, TrayAvailable trayAvailable = {}, QObject* parent = nullptr);
    ~TrayControl() override;

    // The icon with the program's icon and the tip "Corvanta"; it stays until removed.
    void AddTrayIcon();
    void RemoveTrayIcon();

    // Brings the vanished window back (arbool_Restore true) or only activates the program.
    // False when the password check refused, and when a check is already under way.
    bool wf_RestoreApplication(bool arbool_Restore);

    void mnu_Vanish_Click();
    // Locks at once when a password protects the data file, whatever "Lock on Minimize" says:
    // a shown window is minimised under its cover and everything it showed is let go of.
    void lockWindow();
    // Whether the window waits for the password check.
    bool isLocked() const { return m_locked; }
    void mnu_SysTrayCreateCredit_Click();
    void mnu_SysTrayCreateTravel_Click();
    void mnu_SysTrayCreateWeb_Click();
    void mnu_SysTrayExit_Click();
    void mnu_SysTrayRestore_Click();

    // The icon's mouse messages; the icon's activated signal arrives here.
    void trayIcon_Activated(QSystemTrayIcon::ActivationReason reason);

    State state() const { return m_state; }
    QSystemTrayIcon* trayIcon() const { return m_icon; }
    QMenu* mnu_SysTray() const { return m_menu; }
    QAction* menuItem(const char* name) const;
    // The password check on screen, if one is up.
    QDialog* passwordCheck() const { return m_check; }
    // How often a window hidden in the tray makes sure the tray is still there (ms).
    void setTrayWatchInterval(int ms) { m_trayWatch.setInterval(ms); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    bool trayShown() const;
    bool lockApplies() const;
    void lock(bool whateverTheSetting = false);
    void lockMinimised();
    bool checkPassword();
    void setTrayMenuEnabled(bool enabled);
    void minimiseInstead();
    void showCover(bool on);
    void coverOtherWindows(bool on);
    void createFromTray(const std::function<void()>& create);
    void trayWatch();

    QPointer<QWidget> m_window;
    Commands m_commands;
    TrayAvailable m_trayAvailable;
    QSystemTrayIcon* m_icon = nullptr;
    QPointer<QMenu> m_menu;
    QPointer<QAction> m_vanish;
    // Hides the window's contents while it is minimised with the lock on: the task bar gives the
    // window back without asking, and what it shows must wait for the password.
    QPointer<QWidget> m_cover;
    // The program's other windows open at the lock (an edit dialog, a message): covered the same
    // way, their contents hidden so that a screen reader finds nothing in them either. The dialogs
    // stay open so that what was typed waits for the password with them.
    struct HiddenChild
    {
        QPointer<QWidget> widget;
        bool retainedSize;
    };
    QList<QPointer<QWidget>> m_windowCovers;
    QList<HiddenChild> m_hiddenChildren;
    QList<QPointer<QWidget>> m_focusWidgets;
    QPointer<QDialog> m_check;
    bool m_checking = false;
    bool m_locked = false;
    bool m_applyingState = false;
    State m_state = State::Shown;
    QTimer m_trayWatch;
};
