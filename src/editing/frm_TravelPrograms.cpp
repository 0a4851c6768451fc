#include "frm_TravelPrograms.h"

#include "ui_frm_TravelPrograms.h"

#include "InputRules.h"
#include "RecordIO.h"

#include <QLineEdit>

frm_TravelPrograms::frm_TravelPrograms(QWidget* parent)
    : EditDialog(Category::Travel, parent), ui(std::make_unique<Ui::frm_TravelPrograms>())
{
    ui->setupUi(this);
    ui->sle_PIN->setOriginalMask(masks::Pin);
    ui->sle_PIN->setMaxLength(10);
    ui->sle_PhoneNumber->setOriginalMask(masks::PhoneNumber);
    prepare(ui->cb_OK, ui->cb_Cancel);
    fieldRules(ui->sle_TravelProgram, QStringLiteral("Printable"), QStringLiteral("Name"));
    fieldRules(ui->ddlb_ProgramType, QStringLiteral("Printable"));
    fieldRules(ui->ddlb_AccountName, QStringLiteral("Printable"));
    fieldRules(ui->sle_AccountNumber, QStringLiteral("MixUpperCase"));
    fieldRules(ui->sle_PIN, QStringLiteral("Printable"));
    fieldRules(ui->ddlb_WebAccount, QStringLiteral("Printable"));
    ui->ddlb_AccountName->lineEdit()->setMaxLength(kNameLimit);
    // It names a web account, so it holds what a web account's name box holds.
    ui->ddlb_WebAccount->lineEdit()->setMaxLength(kNameLimit);
    setTitlePicture(ui->pb_TravelProgramTitle);
}

frm_TravelPrograms::~frm_TravelPrograms() = default;

QList<RecordField> frm_TravelPrograms::recordFields() const
{
    return {{"[Travel Program]", ui->sle_TravelProgram},
            {"[Program Type]", ui->ddlb_ProgramType},
            {"[Account Name]", ui->ddlb_AccountName},
            {"[Account Number]", ui->sle_AccountNumber},
            {"[PIN Number]", ui->sle_PIN},
            {"[Web Account]", ui->ddlb_WebAccount},
            {"[Phone Number]", ui->sle_PhoneNumber},
            {"[Notes]", ui->mle_Notes}};
}

void frm_TravelPrograms::Form_Load(const QString& recordId)
{
    takeRecordId(recordId);
    if (iint_RecordID > 0) {
        LoadRecord(recordCategory(), iint_RecordID, recordFields());
    }
    FillList(ui->ddlb_AccountName, QStringLiteral("Names"));
    FillList(ui->ddlb_WebAccount, QStringLiteral("Web Account"));
    FillList(ui->ddlb_ProgramType, QStringLiteral("Program Type"));
}
