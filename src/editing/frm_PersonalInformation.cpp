#include "frm_PersonalInformation.h"

#include "ui_frm_PersonalInformation.h"

#include "InputRules.h"
#include "RecordIO.h"

frm_PersonalInformation::frm_PersonalInformation(QWidget* parent)
    : EditDialog(QStringLiteral("Personal"), parent), ui(std::make_unique<Ui::frm_PersonalInformation>())
{
    ui->setupUi(this);
    ui->sle_ZipCode->setOriginalMask(masks::ZipCode);
    ui->sle_PhoneNumber->setOriginalMask(masks::PhoneNumber);
    prepare(ui->cb_OK, ui->cb_Cancel);
    fieldRules(ui->sle_Name, QStringLiteral("Printable"), QStringLiteral("Name"));
    fieldRules(ui->sle_Address, QStringLiteral("Printable"));
    fieldRules(ui->sle_City, QStringLiteral("Printable"), QStringLiteral("City"));
    fieldRules(ui->ddlb_State, QStringLiteral("UpperCase"), QStringLiteral("State"));
    fieldRules(ui->ddlb_EMailAddress, QStringLiteral("Printable"));
    fieldRules(ui->sle_ZipCode, QString(), QStringLiteral("Zip Code"));
    fieldRules(ui->sle_PhoneNumber, QString(), QStringLiteral("Phone Number"));
    setTitlePicture(ui->Picture1, QStringLiteral("Personal Information"));
}

frm_PersonalInformation::~frm_PersonalInformation() = default;

void frm_PersonalInformation::Form_Load(const QString& recordId)
{
    // There is only one personal record; the id the caller passed is of no use here.
    istr_RecordID = recordId;
    iint_RecordID = 0;
    LoadRecord(this, recordCategory(), 0);
    FillList(this, QStringLiteral("E-Mail Address"));
    FillList(this, QStringLiteral("States"));
}
