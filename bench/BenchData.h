#pragma once

#include "Dao.h"

#include <QString>

namespace benchdata {

// Fills a new data file at path with n web accounts of realistic lengths (a note of about 100
// characters). With cheap set, the key derivation is at its cheapest so that file handling is
// measured rather than the derivation.
dao::Error makeFile(const QString& path, int n, const QString& password, bool cheap);

// Adds n credit cards and n travel programs to the data file without password at path.
dao::Error addCardsAndPrograms(const QString& path, int n);

// The n-th generated web account, for the peer's import file.
struct Account
{
    QString site, type, url, login, password, email, notes;
};
Account account(int i);

} // namespace benchdata
