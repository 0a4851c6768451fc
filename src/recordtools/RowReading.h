#pragma once

#include "Dao.h"

#include <QObject>

#include <functional>
#include <vector>

// One pass over the rows of a few statements, each row handed on as it is read and none kept
// behind. A window that lists what a hundred thousand records hold reads them in short steps
// between the person's keystrokes instead of all at once, and without a copy of the database.
namespace recordtools {

struct RowSource
{
    QString statement;
    std::function<void(const dao::Recordset& row)> take;
};

// Reads every row of every source, in order; stops at the first failure and returns it.
dao::Error readRows(dao::Database& database, const std::vector<RowSource>& sources);

// The same, a few milliseconds at a time on this thread, then done with the outcome. The record
// sets are opened at once and keep what they read from alive; reading stops, and done is never
// called, once the reading (a child of owner) is deleted.
class RowReading : public QObject
{
public:
    using Done = std::function<void(const dao::Error& error)>;
    RowReading(dao::Database& database, std::vector<RowSource> sources, Done done, QObject* owner);
    ~RowReading() override;

private:
    void step();

    std::vector<RowSource> m_sources;
    std::vector<dao::RecordsetPtr> m_rows;
    dao::Error m_error;
    Done m_done;
    size_t m_source = 0;
};

} // namespace recordtools
