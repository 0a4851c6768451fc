#include "frm_PersonalInformation.h"

#include "ui_frm_PersonalInformation.h"

#include "InputRules.h"
#include "RecordIO.h"

frm_PersonalInformation::frm_PersonalInformation(QWidget* parent)
    : EditDialog(Category::Personal, parent), ui(std::make_unique<Ui::frm_PersonalInformation>())
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
    setTitlePicture(ui->Picture1);
}

frm_PersonalInformation::~frm_PersonalInformation() = default;

QList<RecordField> frm_PersonalInformation::recordFields() const
{
    return {{"[Name]", ui->sle_Name},
            {"[Address]", ui->sle_Address},
            {"[City]", ui->sle_City},
            {"[State]", ui->ddlb_State},
            {"[Zip Code]", ui->sle_ZipCode},
            {"[Phone Number]", ui->sle_PhoneNumber},
            {"[E-Mail Address]", ui->ddlb_EMailAddress}};
}

void frm_PersonalInformation::Form_Load(const QString& recordId)
{
    // There is only one personal record; the id the caller passed is of no use here.
    istr_RecordID = recordId;
    iint_RecordID = 0;
    LoadRecord(recordCategory(), 0, recordFields());
    FillList(ui->ddlb_EMailAddress, QStringLiteral("E-Mail Address"));
    FillList(ui->ddlb_State, QStringLiteral("States"));
}
