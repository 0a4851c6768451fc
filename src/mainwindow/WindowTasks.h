#pragma once

class QWidget;

// The desktop side of the main window's state: the top-most band, the notification-area icon.
namespace window_tasks {

// Puts the window into the top-most band (flag true) or takes it out, without moving, resizing
// or hiding it. The flag is taken by reference as callers have always passed it.
void SetTopMost(bool& flag, QWidget* window);
// Whether the window is in the top-most band as far as this program has put it there.
bool IsTopMost(const QWidget* window);

// The notification-area icon. Until the icon itself is built these only keep the state.
void AddTrayIcon(QWidget* owner);
void RemoveTrayIcon();
bool HasTrayIcon();

} // namespace window_tasks
