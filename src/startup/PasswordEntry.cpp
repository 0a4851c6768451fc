#include "PasswordEntry.h"

#include "Platform.h"

#include <QDialog>
#include <QLayout>
#include <QLineEdit>

namespace passwordentry {

void prepare(QDialog* dialog, QLineEdit* box)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    if (dialog->layout() != nullptr) {
        dialog->layout()->setSizeConstraint(QLayout::SetFixedSize);
    }
    platform::usePasswordCharacter(box);
    box->setFocus();
}

void refuse(QLineEdit* box, const QString& message)
{
    platform::MsgBox(message, platform::vbInformation, QStringLiteral("Corvanta Password"));
    box->setFocus();
    box->setSelection(0, static_cast<int>(box->text().size()));
}

} // namespace passwordentry
