#include "frm_Password.h"

#include "ui_frm_Password.h"

#include "Accessibility.h"
#include "General.h"
#include "Maintenance.h"
#include "PasswordPrompt.h"
#include "Platform.h"
#include "Statements.h"

#include <QShowEvent>

frm_Password::frm_Password(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frm_Password>())
{
    ui->setupUi(this);
    usePasswordDialogFrame(this);
    setFixedSize(sizeHint().expandedTo(size()));
    for (QLineEdit* box : {ui->sle_OldPassword, ui->sle_NewPassword, ui->sle_NewPasswordAgain}) {
        platform::usePasswordCharacter(box);
    }
    accessibility::nameControls(this);
    connect(ui->cb_OK, &QPushButton::clicked, this, &frm_Password::cb_OK_Click);
    connect(ui->cb_Cancel, &QPushButton::clicked, this, &frm_Password::cb_Cancel_Click);
}

frm_Password::~frm_Password() = default;

void frm_Password::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        Form_Activate();
    }
}

void frm_Password::Form_Activate()
{
    emptyBoxes();
    ui->sle_OldPassword->setFocus(Qt::OtherFocusReason);
}

void frm_Password::emptyBoxes()
{
    // setText, unlike clear, also drops the undo history, which holds every typed character.
    for (QLineEdit* box : {ui->sle_OldPassword, ui->sle_NewPassword, ui->sle_NewPasswordAgain}) {
        box->setText(QString());
    }
}

void frm_Password::cb_OK_Click()
{
    platform::BusyCursor busy;
    m_changed = false;
    if (ui->sle_NewPassword->text() != ui->sle_NewPasswordAgain->text()) {
        platform::ShowMessage(QStringLiteral("New passwords do not match."), platform::MessageKind::Information,
                              QStringLiteral("Password"));
        ui->sle_NewPassword->setFocus(Qt::OtherFocusReason);
        ui->sle_NewPassword->selectAll();
        ui->sle_NewPasswordAgain->setText(QString());
        return;
    }
    if (!dao::SecureBytes::fromText(ui->sle_OldPassword->text()).equals(gstr_Password)) {
        platform::ShowMessage(QStringLiteral("Old password is incorrect."), platform::MessageKind::Information,
                              QStringLiteral("Password"));
        ui->sle_OldPassword->setFocus(Qt::OtherFocusReason);
        ui->sle_OldPassword->selectAll();
        return;
    }
    dao::SecureBytes oldPassword = dao::SecureBytes::fromText(ui->sle_OldPassword->text());
    dao::SecureBytes newPassword = dao::SecureBytes::fromText(ui->sle_NewPassword->text());
    emptyBoxes();

    if (gdb_Data) {
        gdb_Data->Close();
        gdb_Data.reset();
    }
    if (m_resetDataControls) {
        m_resetDataControls();
    }
    // The globals change only once the file has the new password, so that they always name
    // the password the file really has; a failure leaves the old one in force everywhere.
    const dao::Error changeError = maintenance::changePassword(gstr_DataFile, oldPassword, newPassword);
    if (!changeError) {
        gstr_Password = std::move(newPassword);
        gstr_Connect = statements::connectBeside();
        m_changed = true;
    }
    const dao::Error openError =
        dao::DBEngine::OpenDatabase(gstr_DataFile, false, false, gstr_Connect, gdb_Data, gstr_Password);
    if (changeError) {
        ShowErrorText(changeError);
    } else if (openError) {
        ShowErrorText(openError);
    }
    hide();
    setResult(QDialog::Accepted);
    done(QDialog::Accepted);
}

void frm_Password::cb_Cancel_Click()
{
    m_changed = false;
    emptyBoxes();
    done(QDialog::Rejected);
}
