#pragma once

#include "Dao.h"

#include <QString>

// The values every window shares for the whole run. Empty, false or unset at start.
extern QString gstr_Version;
extern QString gstr_DataFile;
extern QString gstr_Connect;
extern QString gstr_Password;
extern dao::DatabasePtr gdb_Data;
extern QString gstr_CheckPassword;
extern bool gbool_PasswordCheckOK;
extern bool gbool_AlwaysOnTop;
extern bool gbool_Lock;

// Wipes the password and the connect text that carries it, in place, and empties both.
void ForgetPassword();

// The error text shown for an unexpected failure: "Error: <description> [<number>]".
QString ErrorText(const dao::Error& error);
// Shows the error text with the title "Corvanta Error" and the information icon.
void ShowErrorText(const dao::Error& error);
