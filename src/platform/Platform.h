#pragma once

#include <QString>

#include <functional>

class QDialog;
class QWidget;

// Everything modal or audible goes through this seam: the program uses the desktop, the tests
// put a scripted double in its place so that no test ever waits for a person.
namespace platform {

// The kinds of message box. Each number packs the icon (16 to 64), the buttons (low bits) and
// the default button (256 and up); tests see these numbers as a message's flags.
enum class MessageKind {
    Stop = 16,        // stop icon, OK
    Information = 64, // information icon, OK
    Question = 292,   // question icon, Yes and No, No the default
};
// The button that closed a message box; closing a question any other way answers No.
enum class Answer {
    OK = 1,
    Yes = 6,
    No = 7,
};

class Seam
{
public:
    virtual ~Seam() = default;
    // Shows a message and returns the button pressed.
    virtual Answer messageBox(const QString& text, MessageKind kind, const QString& title) = 0;
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

inline Answer ShowMessage(const QString& text, MessageKind kind, const QString& title)
{
    return seam().messageBox(text, kind, title);
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

// The busy pointer while the guard lives, off again on every way out. Work that stops half-way
// to wait for the person switches it off and on with set(); only changes reach the seam, so on
// and off stay balanced.
class BusyCursor
{
public:
    explicit BusyCursor(bool busy = true) { set(busy); }
    ~BusyCursor() { set(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    void set(bool busy)
    {
        if (busy != m_busy) {
            seam().setBusyCursor(busy);
            m_busy = busy;
        }
    }

private:
    bool m_busy = false;
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
