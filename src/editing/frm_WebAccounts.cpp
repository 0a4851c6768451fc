#include "frm_WebAccounts.h"

#include "ui_frm_WebAccounts.h"

#include "GenerateButton.h"
#include "RecordIO.h"

#include <QLineEdit>

frm_WebAccounts::frm_WebAccounts(QWidget* parent)
    : EditDialog(Category::Web, parent), ui(std::make_unique<Ui::frm_WebAccounts>())
{
    ui->setupUi(this);
    prepare(ui->cb_OK, ui->cb_Cancel);
    fieldRules(ui->sle_WebSite, QStringLiteral("Printable"), QStringLiteral("Name"));
    fieldRules(ui->ddlb_SiteType, QStringLiteral("Printable"));
    fieldRules(ui->sle_URL, QStringLiteral("Printable"));
    fieldRules(ui->ddlb_Login, QStringLiteral("Printable"));
    fieldRules(ui->ddlb_Password, QStringLiteral("Printable"));
    fieldRules(ui->ddlb_EMailAddress, QStringLiteral("Printable"));
    ui->ddlb_Login->lineEdit()->setMaxLength(kNameLimit);
    GenerateButton::addTo(ui->ddlb_Password);
    setTitlePicture(ui->pb_WebAccountTitle);
}

frm_WebAccounts::~frm_WebAccounts() = default;

QList<RecordField> frm_WebAccounts::recordFields() const
{
    return {{"[Web Site]", ui->sle_WebSite},
            {"[Site Type]", ui->ddlb_SiteType},
            {"[URL]", ui->sle_URL},
            {"[Login]", ui->ddlb_Login},
            {"[Password]", ui->ddlb_Password},
            {"[E-Mail Address]", ui->ddlb_EMailAddress},
            {"[Notes]", ui->mle_Notes}};
}

void frm_WebAccounts::Form_Load(const QString& recordId)
{
    takeRecordId(recordId);
    if (iint_RecordID > 0) {
        LoadRecord(recordCategory(), iint_RecordID, recordFields());
    }
    FillList(ui->ddlb_Login, QStringLiteral("Login"));
    FillList(ui->ddlb_Password, QStringLiteral("Password"));
    FillList(ui->ddlb_SiteType, QStringLiteral("Site Type"));
    FillList(ui->ddlb_EMailAddress, QStringLiteral("E-Mail Address"));
}
