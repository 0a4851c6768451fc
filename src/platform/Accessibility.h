#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QString>

class QTabWidget;
class QWidget;

// Names for screen readers and keys for everything the mouse can do.
namespace accessibility {

// Gives every control of the window that has no accessible name yet the name that says what it
// is, from the first rule that applies:
//  1. explicitNames, by object name (these replace a name set earlier);
//  2. the caption of the label whose buddy the control is, anywhere in the window, without its
//     mnemonic marker, surrounding blanks and a trailing colon;
//  3. the control's tooltip, when it has one at this moment (a field without a label, a
//     picture-only button, a picture);
//  4. the title of the nearest frame around a field, for a field that has neither.
// The line edit inside an editable combo box takes the combo box's name. A text box that would
// keep Tab for itself is made to pass it on, so that the keyboard never gets stuck in it.
// Names are set once: a tooltip that changes later (hover help) does not change the name.
// Call it after the controls exist; calling it again names only what is new.
void nameControls(QWidget* window, const QHash<QString, QString>& explicitNames = {});

// Gives every line edit an accessible interface that reports a read-only field as read-only and
// never lets a masked field's text out, neither when read nor in the events of its changes; a
// masked field tells how many characters it holds, as mask characters.
// nameControls does this on its first call; call it earlier where a line edit may be read first.
void useSafeLineEdits();

// The name rule 2, 3 or 4 would give the control; empty when none applies.
QString ruleName(const QWidget* control);

// A button that appears on every page of a tab widget, with the word it is named by and the
// key that presses the one on the page in front.
struct PageButton
{
    QString objectName;
    QString word;
    QKeySequence key;
};

// Names each listed button on each page "<word>, <page title>", and gives the window the keys
// that press the button of the page in front (only while it is enabled), plus Ctrl+Tab,
// Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp to change pages from wherever the focus is.
void addPageButtons(QTabWidget* pages, const QList<PageButton>& buttons);

} // namespace accessibility
