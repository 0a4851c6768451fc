#include "General.h"

#include "Platform.h"

QString gstr_Version;
QString gstr_DataFile;
QString gstr_Connect;
dao::SecureBytes gstr_Password;
dao::DatabasePtr gdb_Data;
dao::SecureBytes gstr_CheckPassword;
bool gbool_PasswordCheckOK = false;
bool gbool_AlwaysOnTop = false;
bool gbool_Lock = false;

void ForgetPassword()
{
    gstr_Password.clear();
    gstr_Connect.clear();
}

QString ErrorText(const dao::Error& error)
{
    return QStringLiteral("Error: ") + error.description() + QStringLiteral(" [") + QString::number(error.number()) +
           QStringLiteral("]");
}

void ShowErrorText(const dao::Error& error)
{
    platform::ShowMessage(ErrorText(error), platform::MessageKind::Information, QStringLiteral("Corvanta Error"));
}
