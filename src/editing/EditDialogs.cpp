#include "EditDialogs.h"

#include "General.h"
#include "Platform.h"
#include "frm_CreditCards.h"
#include "frm_PersonalInformation.h"
#include "frm_TravelPrograms.h"
#include "frm_WebAccounts.h"

#include <memory>

namespace {

std::unique_ptr<EditDialog> makeDialog(const QString& recordCategory, QWidget* parent)
{
    if (recordCategory == QLatin1String("Personal")) {
        return std::make_unique<frm_PersonalInformation>(parent);
    }
    if (recordCategory == QLatin1String("Credit")) {
        return std::make_unique<frm_CreditCards>(parent);
    }
    if (recordCategory == QLatin1String("Travel")) {
        return std::make_unique<frm_TravelPrograms>(parent);
    }
    if (recordCategory == QLatin1String("Web")) {
        return std::make_unique<frm_WebAccounts>(parent);
    }
    return nullptr;
}

} // namespace

bool ShowEditDialog(const QString& recordCategory, QString& recordId, QWidget* parent)
{
    std::unique_ptr<EditDialog> dialog = makeDialog(recordCategory, parent);
    if (!dialog) {
        ShowErrorText(dao::makeError(dao::err::InvalidArgument));
        return false;
    }
    dialog->Form_Load(recordId);
    if (platform::ShowModal(dialog.get()) != QDialog::Accepted) {
        return false;
    }
    recordId = dialog->istr_RecordID;
    return true;
}
