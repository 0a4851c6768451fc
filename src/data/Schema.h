#pragma once

#include "Dao.h"

#include <QString>
#include <QStringList>

namespace schema {

// The two-letter codes offered in the personal dialog's state list, in alphabetical order:
// the states, the District of Columbia and the territories.
const QStringList& stateCodes();

// Creates the five tables (and the state codes) in an empty database.
dao::Error createTables(dao::Database& db);

// Creates a new data file without password at path, holding the empty tables. Fails with 3204
// when anything exists at path; nothing is left behind on failure.
dao::Error createDataFile(const QString& path);

} // namespace schema
