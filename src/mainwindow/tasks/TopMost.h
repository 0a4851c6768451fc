#pragma once

#include "Settings.h"

class QAction;
class QWidget;

// The main window's place in the window order and the two View items that keep its state.
namespace tasks {

// Puts the window into the top-most band (flag true) or takes it out of it, leaving it visible,
// where it is and as large as it is. Before the window is first shown only the wish is recorded;
// showing it applies it.
void SetTopMost(bool flag, QWidget* window);
// Whether the window is in the top-most band as far as this program has put it there.
bool IsTopMost(const QWidget* window);

// Dialogs must never be covered by a main window kept above all others: while the bracket lives
// the window is out of the top-most band, and it returns there when the bracket ends. Nothing
// happens when the window is not kept on top (active false).
class TopMostBracket
{
public:
    TopMostBracket(QWidget* window, bool active);
    ~TopMostBracket();
    TopMostBracket(const TopMostBracket&) = delete;
    TopMostBracket& operator=(const TopMostBracket&) = delete;

private:
    QWidget* m_window;
    bool m_active;
};

// "&Always On Top": flips gbool_AlwaysOnTop, its settings text (stored when the window unloads)
// and the check mark, and moves the window into or out of the top-most band at once.
void ToggleAlwaysOnTop(QAction* item, settings::Flags& flags, QWidget* window);
// "&Lock on Minimize": flips gbool_Lock, its settings text and the check mark; nothing is asked.
void ToggleLock(QAction* item, settings::Flags& flags);
// "&Lock on Minimize" can only be used while the data file has a password: with none there is
// nothing to ask for when the window comes back.
void EnableLockItem(QAction* item);

} // namespace tasks
