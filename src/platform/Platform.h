#pragma once

#include <QString>

#include <functional>

class QDialog;
class QWidget;

// Everything modal or audible goes through this seam: the program uses the desktop, the tests
// put a scripted double in its place so that no test ever waits for a person.
namespace platform {

// Message box flags and answers, with the values the program has always used.
constexpr int vbOKOnly = 0;
constexpr int vbCritical = 16;       // stop icon, OK
constexpr int vbInformation = 64;    // information icon, OK
constexpr int vbQuestionYesNo = 292; // question icon, Yes and No, No the default
constexpr int vbOK = 1;
constexpr int vbYes = 6;
constexpr int vbNo = 7;

class Seam
{
public:
    virtual ~Seam() = default;
    // Shows a message and returns the button pressed (vbOK, vbYes or vbNo).
    virtual int messageBox(const QString& text, int flags, const QString& title) = 0;
    // Shows a dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int showModal(QDialog* dialog) = 0;
    // The application-wide busy pointer, on or off.
    virtual void setBusyCursor(bool busy) = 0;
    virtual void beep() = 0;
    // Asks for a file to read or, with save, to write (the desktop's chooser asks before one is
    // replaced); empty when the person cancels. suggested is the file or folder offered first.
    virtual QString chooseFile(bool save, const QString& title, const QString& suggested, const QString& filter);
};

// The seam in use; the desktop one unless a test installed another.
Seam& seam();
// Installs a seam (nullptr restores the desktop one). The caller keeps ownership.
void setSeam(Seam* seam);

inline int MsgBox(const QString& text, int flags, const QString& title)
{
    return seam().messageBox(text, flags, title);
}
inline int ShowModal(QDialog* dialog)
{
    return seam().showModal(dialog);
}
inline void Beep()
{
    seam().beep();
}
inline QString ChooseFile(bool save, const QString& title, const QString& suggested, const QString& filter)
{
    return seam().chooseFile(save, title, suggested, filter);
}

// Busy pointer for the lifetime of the guard (restored on every way out).
class BusyCursor
{
public:
    BusyCursor() { seam().setBusyCursor(true); }
    ~BusyCursor() { seam().setBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace platform

class QLineEdit;
class QUrl;

namespace platform {

// Makes a password box echo "*" whatever the desktop style would draw instead.
void usePasswordCharacter(QLineEdit* edit, QChar character = QLatin1Char('*'));

// Opens a web address or a "mailto:" link with the desktop's handler; false when none took it.
bool OpenUrl(const QUrl& url);

// Whether the desktop names a program that opens files of this file's type. The desktop's opener
// itself reports success even where nothing opens the file, so the program asks first.
bool HasOpenerFor(const QString& file);
// Tests answer the question themselves (by the file's type name); an empty function restores
// the desktop's answer.
void setOpenerLookup(std::function<bool(const QString& mimeType)> lookup);

} // namespace platform
