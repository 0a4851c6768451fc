#pragma once

#include "Dao.h"
#include "SecureMemory.h"

#include <QString>

// The values every window shares for the whole run. Empty, false or unset at start.
extern QString gstr_Version;
extern QString gstr_DataFile;
// The connect text of every opening. It carries no password: the password is always handed to
// the engine beside it, from gstr_Password.
extern QString gstr_Connect;
// The data file's password as typed (UTF-8), in guarded memory; empty when the file has none.
extern dao::SecureBytes gstr_Password;
extern dao::DatabasePtr gdb_Data;
// The entry of the last password check, in guarded memory, until the check is judged.
extern dao::SecureBytes gstr_CheckPassword;
extern bool gbool_PasswordCheckOK;
extern bool gbool_AlwaysOnTop;
extern bool gbool_Lock;

// Wipes the password and empties the connect text.
void ForgetPassword();

// The error text shown for an unexpected failure: "Error: <description> [<number>]".
QString ErrorText(const dao::Error& error);
// Shows the error text with the title "Corvanta Error" and the information icon.
void ShowErrorText(const dao::Error& error);
