#include "frm_PasswordCheck.h"

#include "ui_frm_PasswordCheck.h"

#include "Accessibility.h"
#include "General.h"
#include "PasswordEntry.h"

frm_PasswordCheck::frm_PasswordCheck(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frm_PasswordCheck>())
{
    ui->setupUi(this);
    passwordentry::prepare(this, ui->sle_Password);
    accessibility::nameControls(this);
    gbool_PasswordCheckOK = false;
    connect(ui->cb_OK, &QPushButton::clicked, this, &frm_PasswordCheck::cb_OK_Click);
    connect(ui->cb_Cancel, &QPushButton::clicked, this, &frm_PasswordCheck::cb_Cancel_Click);
}

frm_PasswordCheck::~frm_PasswordCheck() = default;

void frm_PasswordCheck::cb_OK_Click()
{
    const QString entry = ui->sle_Password->text();
    if (entry.isEmpty()) {
        passwordentry::refuse(ui->sle_Password, QStringLiteral("Please enter a password."));
        return;
    }
    gstr_CheckPassword = entry;
    gbool_PasswordCheckOK = true;
    accept();
}

void frm_PasswordCheck::cb_Cancel_Click()
{
    gbool_PasswordCheckOK = false;
    QDialog::reject();
}

void frm_PasswordCheck::reject()
{
    cb_Cancel_Click();
}
