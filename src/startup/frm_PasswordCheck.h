#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class frm_PasswordCheck;
}

// Asks for the password before the locked main window comes back. It only collects the text
// into gstr_CheckPassword; the caller compares it with the password in use.
class frm_PasswordCheck : public QDialog
{
    Q_OBJECT

public:
    // Clears gbool_PasswordCheckOK: it describes this check only, whatever an earlier one gave.
    explicit frm_PasswordCheck(QWidget* parent = nullptr);
    ~frm_PasswordCheck() override;

    void cb_OK_Click();
    void cb_Cancel_Click();

    // Esc and the window manager's close both come here: they count as Cancel.
    void reject() override;

private:
    std::unique_ptr<Ui::frm_PasswordCheck> ui;
};
