#include "frm_Login.h"

#include "ui_frm_Login.h"

#include "Accessibility.h"
#include "General.h"
#include "PasswordEntry.h"

frm_Login::frm_Login(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frm_Login>())
{
    ui->setupUi(this);
    passwordentry::prepare(this, ui->sle_Password);
    accessibility::nameControls(this);
    connect(ui->cb_OK, &QPushButton::clicked, this, &frm_Login::cb_OK_Click);
    connect(ui->cb_Cancel, &QPushButton::clicked, this, &frm_Login::cb_Cancel_Click);
}

frm_Login::~frm_Login() = default;

void frm_Login::cb_OK_Click()
{
    const QString entry = ui->sle_Password->text();
    if (entry.isEmpty()) {
        passwordentry::refuse(ui->sle_Password, QStringLiteral("Password is incorrect."));
        return;
    }
    gstr_Password = entry;
    ibool_OK = true;
    accept();
}

void frm_Login::cb_Cancel_Click()
{
    ibool_OK = false;
    QDialog::reject();
}

void frm_Login::reject()
{
    cb_Cancel_Click();
}
