#include "General.h"

#include "Platform.h"

QString gstr_Version;
QString gstr_DataFile;
QString gstr_Connect;
QString gstr_Password;
dao::DatabasePtr gdb_Data;
QString gstr_CheckPassword;
bool gbool_PasswordCheckOK = false;
bool gbool_AlwaysOnTop = false;
bool gbool_Lock = false;

QString ErrorText(const dao::Error& error)
{
    return QStringLiteral("Error: ") + error.description() + QStringLiteral(" [") + QString::number(error.number()) +
           QStringLiteral("]");
}

void ShowErrorText(const dao::Error& error)
{
    platform::MsgBox(ErrorText(error), platform::vbInformation, QStringLiteral("Corvanta Error"));
}
