#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// What a screen reader is told about a window's controls, read through the same accessibility
// interfaces the desktop bridge reads.
namespace accesscheck {

// The name the control's accessible interface reports; empty when it has none.
QString nameOf(QWidget* control);

// "objectName (class)" of every control a person can see and read or use inside window (fields,
// buttons, pictures, captions, anything that takes the focus) whose accessible name is empty.
QStringList unnamedControls(QWidget* window);

// The object name of the control holding the focus, naming an editable combo box rather than
// the line edit inside it.
QString focusedName();

// Presses Tab (or Shift+Tab) steps times and lists the focused control after each press.
QStringList tabWalk(int steps, bool backward = false);

} // namespace accesscheck
