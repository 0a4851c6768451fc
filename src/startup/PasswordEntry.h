#pragma once

class QDialog;
class QLineEdit;
class QString;

// What the login and the password check dialogs have in common: they look alike and refuse an
// empty entry alike.
namespace passwordentry {

// A fixed frame with a title but no close box or title-bar menu; "*" echo; focus in the box.
void prepare(QDialog* dialog, QLineEdit* box);
// Says why the entry is refused and puts the user back into the box with its text selected.
void refuse(QLineEdit* box, const QString& message);

} // namespace passwordentry
