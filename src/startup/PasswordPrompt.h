#pragma once

#include "SecureMemory.h"

#include <QDialog>

#include <memory>

namespace Ui {
class PasswordPrompt;
}

// The small dialog that asks for the data file's password, in its two kinds: the login at start
// and the check before a locked window comes back. Both look alike; they differ in the message
// for an empty entry and in the flag that tells the caller how the dialog was left. Each only
// collects the text: the caller proves it by opening the data file.
//
// What was typed is handed over by takePassword(), in guarded memory, and the box is emptied as
// soon as the dialog is left, whichever way: the typed text lives in the widget only while it
// is being typed.
class PasswordPrompt : public QDialog
{
    Q_OBJECT

public:
    enum class Kind { Login, Check };

    ~PasswordPrompt() override;

    // True only when the dialog was left with OK and a non-empty entry.
    bool ibool_OK = false;
    // The entry of that OK, as typed (UTF-8), given up to the caller; empty otherwise.
    dao::SecureBytes takePassword() { return std::move(m_password); }

    void cb_OK_Click();
    void cb_Cancel_Click();

    // Esc and the window manager's close both come here: they count as Cancel.
    void reject() override;

protected:
    PasswordPrompt(Kind kind, QWidget* parent);

private:
    void leave(bool ok);

    std::unique_ptr<Ui::PasswordPrompt> ui;
    Kind m_kind;
    dao::SecureBytes m_password;
};

// The login: the caller creates one per attempt, shows it modally, reads ibool_OK and the
// password, and deletes it; the dialog itself only hides.
class frm_Login : public PasswordPrompt
{
    Q_OBJECT

public:
    explicit frm_Login(QWidget* parent = nullptr) : PasswordPrompt(Kind::Login, parent) {}
};

// The check: leaving it sets gbool_PasswordCheckOK, which it clears when it is created (the
// flag describes this check only, whatever an earlier one gave).
class frm_PasswordCheck : public PasswordPrompt
{
    Q_OBJECT

public:
    explicit frm_PasswordCheck(QWidget* parent = nullptr) : PasswordPrompt(Kind::Check, parent) {}
};

// The frame of every password dialog: a title and the desktop's close keystroke (which counts
// as Cancel), no minimise or maximise button, and a minimise that the window manager does all
// the same (its menu, a panel, a key) is undone at once. A login minimised behind nothing
// looks like a program that hangs.
void usePasswordDialogFrame(QDialog* dialog);
