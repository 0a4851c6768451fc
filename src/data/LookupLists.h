#pragma once

#include "Dao.h"

#include <QStringList>

namespace lookup {

// The values of one drop-down list ("E-Mail Address", "Web Account", "Program Type", "Names",
// "Login", "Password", "Site Type", "States"), in the order the statement gives them. Failures
// pass silently: an unknown kind or a refused statement gives what was read so far. A Null
// value adds no item.
QStringList values(dao::Database& db, const QString& kind);

} // namespace lookup
