#pragma once

#include "Dao.h"

#include <QStringList>

namespace lookup {

// The values of one drop-down list ("E-Mail Address", "Web Account", "Program Type", "Names",
// "Login", "Password", "Site Type", "States"), in the order the statement gives them. Failures
// pass silently: an unknown kind or a refused statement gives what was read so far. A Null
// value adds no item.
QStringList values(dao::Database& db, const QString& kind);

// Up to this many records a window reads what it lists before it shows; beyond, it shows at
// once and reads them on another thread.
constexpr int kReadAtOnceRecords = 2000;
// The cards, programs and web accounts together; 0 when they cannot be counted.
int recordCount(dao::Database& db);

} // namespace lookup
