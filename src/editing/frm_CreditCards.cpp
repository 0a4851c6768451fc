#include "frm_CreditCards.h"

#include "ui_frm_CreditCards.h"

#include "InputRules.h"
#include "Pictures.h"
#include "RecordIO.h"

#include <QButtonGroup>
#include <QLineEdit>

namespace {

constexpr QSize kCardSize(44, 28);

} // namespace

frm_CreditCards::frm_CreditCards(QWidget* parent)
    : EditDialog(Category::Credit, parent), ui(std::make_unique<Ui::frm_CreditCards>())
{
    ui->setupUi(this);
    ui->sle_ExpirationDate->setOriginalMask(masks::ExpirationDate);
    ui->sle_PhoneNumber->setOriginalMask(masks::PhoneNumber);
    ui->og_CardInfo->setProperty("Tag", QString());

    ob_CreditCard = new QButtonGroup(this);
    ob_CreditCard->setObjectName(QStringLiteral("ob_CreditCard"));
    const QList<QToolButton*> buttons{ui->ob_CreditCard_1, ui->ob_CreditCard_2, ui->ob_CreditCard_3,
                                      ui->ob_CreditCard_4, ui->ob_CreditCard_5};
    for (int index = 1; index <= buttons.size(); ++index) {
        QToolButton* button = buttons.at(index - 1);
        ob_CreditCard->addButton(button, index);
        button->setAccessibleDescription(QStringLiteral("Card Type"));
        button->setAccessibleName(pictures::CardTypeName(index));
        const QIcon picture = pictures::CardPicture(index);
        if (picture.isNull()) {
            QFont small(QStringLiteral("Arial"));
            small.setPointSizeF(7.5);
            small.setBold(true);
            button->setFont(small);
            button->setText(pictures::CardTypeName(index));
        } else {
            // Drawn at the screen's own scale, so the name on the card stays sharp.
            button->setIcon(picture);
            button->setIconSize(kCardSize);
        }
    }
    connect(ob_CreditCard, &QButtonGroup::idClicked, this, &frm_CreditCards::ob_CreditCard_Click);

    prepare(ui->cb_OK, ui->cb_Cancel);
    fieldRules(ui->sle_CreditCard, QStringLiteral("Printable"), QStringLiteral("Name"));
    fieldRules(ui->ddlb_AccountName, QStringLiteral("Printable"));
    ui->ddlb_AccountName->lineEdit()->setMaxLength(kNameLimit);
    fieldRules(ui->sle_AccountNumber, QStringLiteral("Number"));
    setTitlePicture(ui->pb_CreditCardTitle);
}

frm_CreditCards::~frm_CreditCards() = default;

QList<RecordField> frm_CreditCards::recordFields() const
{
    return {{"[Credit Card]", ui->sle_CreditCard},
            {"[Account Name]", ui->ddlb_AccountName},
            {"[Account Number]", ui->sle_AccountNumber},
            {"[Expiration Date]", ui->sle_ExpirationDate},
            {"[Phone Number]", ui->sle_PhoneNumber},
            {"[Notes]", ui->mle_Notes},
            {"[Card Type]", ui->og_CardInfo}};
}

void frm_CreditCards::Form_Load(const QString& recordId)
{
    takeRecordId(recordId);
    if (iint_RecordID > 0 && LoadRecord(recordCategory(), iint_RecordID, recordFields())) {
        // A stored type outside 1 to 5 chooses no button and is kept as it is.
        bool isNumber = false;
        const int index = ui->og_CardInfo->property("Tag").toString().trimmed().toInt(&isNumber);
        if (isNumber && ob_CreditCard->button(index) != nullptr) {
            ob_CreditCard->button(index)->setChecked(true);
            ob_CreditCard_Click(index);
        }
    }
    FillList(ui->ddlb_AccountName, QStringLiteral("Names"));
}

void frm_CreditCards::ob_CreditCard_Click(int index)
{
    ui->og_CardInfo->setProperty("Tag", QLatin1Char(' ') + QString::number(index));
}
