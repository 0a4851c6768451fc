#include "EditDialogs.h"

#include "Platform.h"
#include "frm_CreditCards.h"
#include "frm_PersonalInformation.h"
#include "frm_TravelPrograms.h"
#include "frm_WebAccounts.h"

std::unique_ptr<EditDialog> MakeEditDialog(Category kind, QWidget* parent)
{
    switch (kind) {
    case Category::Personal:
        return std::make_unique<frm_PersonalInformation>(parent);
    case Category::Credit:
        return std::make_unique<frm_CreditCards>(parent);
    case Category::Travel:
        return std::make_unique<frm_TravelPrograms>(parent);
    case Category::Web:
        return std::make_unique<frm_WebAccounts>(parent);
    }
    return nullptr;
}

bool ShowEditDialog(Category kind, QString& recordId, QWidget* parent)
{
    std::unique_ptr<EditDialog> dialog = MakeEditDialog(kind, parent);
    dialog->Form_Load(recordId);
    if (platform::ShowModal(dialog.get()) != QDialog::Accepted) {
        return false;
    }
    recordId = dialog->istr_RecordID;
    return true;
}
