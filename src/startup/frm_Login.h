#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class frm_Login;
}

// Asks for the data file's password at start. It only collects the text; start-up proves it by
// opening the file. The caller creates one per attempt, shows it modally, reads ibool_OK and
// deletes it; the dialog itself only hides.
class frm_Login : public QDialog
{
    Q_OBJECT

public:
    explicit frm_Login(QWidget* parent = nullptr);
    ~frm_Login() override;

    // True only when the dialog was left with OK and a non-empty entry, which is then in
    // gstr_Password exactly as typed.
    bool ibool_OK = false;

    void cb_OK_Click();
    void cb_Cancel_Click();

    // Esc and the window manager's close both come here: they count as Cancel.
    void reject() override;

private:
    std::unique_ptr<Ui::frm_Login> ui;
};
