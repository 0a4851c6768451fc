#include "WindowTasks.h"

#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace window_tasks {

namespace {

QPointer<QWidget> g_trayOwner;
bool g_trayIcon = false;

} // namespace

void SetTopMost(bool& flag, QWidget* window)
{
    if (window == nullptr) {
        return;
    }
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, flag);
    if (flags == window->windowFlags()) {
        return;
    }
    // setWindowFlags would hide a shown window and recreate it; changing the flags of the
    // native window keeps it where and as it is, and the widget merely records them.
    window->overrideWindowFlags(flags);
    if (QWindow* native = window->windowHandle()) {
        native->setFlags(flags);
    }
}

bool IsTopMost(const QWidget* window)
{
    return window != nullptr && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void AddTrayIcon(QWidget* owner)
{
    g_trayOwner = owner;
    g_trayIcon = true;
}

void RemoveTrayIcon()
{
    g_trayOwner = nullptr;
    g_trayIcon = false;
}

bool HasTrayIcon()
{
    return g_trayIcon;
}

} // namespace window_tasks
