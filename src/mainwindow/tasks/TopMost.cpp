#include "TopMost.h"

#include "General.h"

#include <QAction>
#include <QWidget>
#include <QWindow>

namespace tasks {

void SetTopMost(bool flag, QWidget* window)
{
    if (window == nullptr) {
        return;
    }
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, flag);
    // QWidget::setWindowFlags would hide a shown window and make it anew, and the desktop would
    // place it again. The native window takes the hint as it is; the widget only records it, so
    // that a native window made later (first show) carries it too.
    window->overrideWindowFlags(flags);
    if (QWindow* native = window->windowHandle()) {
        native->setFlag(Qt::WindowStaysOnTopHint, flag);
    }
}

bool IsTopMost(const QWidget* window)
{
    return window != nullptr && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

TopMostBracket::TopMostBracket(QWidget* window, bool active) : m_window(window), m_active(active)
{
    if (m_active) {
        SetTopMost(false, m_window);
    }
}

TopMostBracket::~TopMostBracket()
{
    if (m_active) {
        SetTopMost(true, m_window);
    }
}

void ToggleAlwaysOnTop(QAction* item, settings::Flags& flags, QWidget* window)
{
    // The check mark mirrors the flag, so either may be asked; the flag is what the dialogs'
    // bracket reads.
    gbool_AlwaysOnTop = !gbool_AlwaysOnTop;
    flags[settings::AlwaysOnTop] = gbool_AlwaysOnTop ? QStringLiteral("1") : QStringLiteral("0");
    SetTopMost(gbool_AlwaysOnTop, window);
    if (item != nullptr) {
        item->setChecked(gbool_AlwaysOnTop);
    }
}

void ToggleLock(QAction* item, settings::Flags& flags)
{
    gbool_Lock = !gbool_Lock;
    flags[settings::Lock] = gbool_Lock ? QStringLiteral("1") : QStringLiteral("0");
    if (item != nullptr) {
        item->setChecked(gbool_Lock);
    }
}

void EnableLockItem(QAction* item)
{
    if (item != nullptr) {
        item->setEnabled(!gstr_Password.isEmpty());
    }
}

} // namespace tasks
