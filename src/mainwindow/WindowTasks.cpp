#include "WindowTasks.h"

#include "TopMost.h"

#include <QPointer>
#include <QWidget>

namespace window_tasks {

namespace {

QPointer<QWidget> g_trayOwner;
bool g_trayIcon = false;

} // namespace

void SetTopMost(bool& flag, QWidget* window)
{
    tasks::SetTopMost(flag, window);
}

bool IsTopMost(const QWidget* window)
{
    return tasks::IsTopMost(window);
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
