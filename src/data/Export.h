#pragma once

#include "Dao.h"

#include <QByteArray>

#include <functional>

namespace transfer {

// Every record of every kind as one CSV text: a "Kind" column ("Personal", "Credit", "Travel",
// "Web"), then every field of the four tables, each name once, in table order; a record fills
// the fields of its own table and leaves the others empty. Counter keys are left out, Null is
// an empty field. count gets the number of records; progress the number written so far and the whole.
dao::Error exportAll(dao::Database& db, QByteArray& out, int& count,
                     const std::function<void(int done, int total)>& progress = {});

// The column that names the kind of each record.
inline constexpr const char* kKindColumn = "Kind";

} // namespace transfer
