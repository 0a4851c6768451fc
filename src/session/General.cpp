#include "General.h"

#include "Platform.h"

#include <sodium.h>

QString gstr_Version;
QString gstr_DataFile;
QString gstr_Connect;
QString gstr_Password;
dao::DatabasePtr gdb_Data;
QString gstr_CheckPassword;
bool gbool_PasswordCheckOK = false;
bool gbool_AlwaysOnTop = false;
bool gbool_Lock = false;

namespace {

void wipe(QString& text)
{
    // In place, also where the text is shared: forgetting means every copy. A literal is no
    // copy of what was typed.
    if (!text.isEmpty() && text.data_ptr().isMutable()) {
        sodium_memzero(const_cast<QChar*>(text.constData()), static_cast<size_t>(text.size()) * sizeof(QChar));
    }
    text.clear();
}

} // namespace

void ForgetPassword()
{
    wipe(gstr_Password);
    wipe(gstr_Connect);
}

QString ErrorText(const dao::Error& error)
{
    return QStringLiteral("Error: ") + error.description() + QStringLiteral(" [") + QString::number(error.number()) +
           QStringLiteral("]");
}

void ShowErrorText(const dao::Error& error)
{
    platform::MsgBox(ErrorText(error), platform::vbInformation, QStringLiteral("Corvanta Error"));
}
