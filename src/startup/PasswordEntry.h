#pragma once

class QDialog;
class QLineEdit;
class QString;

// What the login and the password check dialogs have in common: they look alike and refuse an
// empty entry alike.
namespace passwordentry {

// A fixed frame with a title that cannot be minimised or maximised; "*" echo; focus in the box.
void prepare(QDialog* dialog, QLineEdit* box);
// A password dialog stays on screen: a minimise asked of the window manager (its menu, a panel,
// a key) is undone at once. A login minimised behind nothing looks like a program that hangs.
void stayUnminimised(QDialog* dialog);
// Says why the entry is refused and puts the user back into the box with its text selected.
void refuse(QLineEdit* box, const QString& message);

} // namespace passwordentry
