#include "RowReading.h"

#include <QElapsedTimer>
#include <QTimer>

namespace recordtools {

namespace {

// Long enough to read a few thousand rows, short enough that a keystroke waits unnoticed.
constexpr qint64 kStepNanoseconds = 8'000'000;

dao::Error open(dao::Database& database, const RowSource& source, dao::RecordsetPtr& rows)
{
    dao::Error error = database.OpenRecordset(source.statement, rows, dao::dbOpenForwardOnly);
    if (!error && !rows->Bof()) {
        error = rows->MoveFirst();
    }
    return error;
}

} // namespace

dao::Error readRows(dao::Database& database, const std::vector<RowSource>& sources)
{
    for (const RowSource& source : sources) {
        dao::RecordsetPtr rows;
        dao::Error error = open(database, source, rows);
        while (!error && !rows->Eof()) {
            source.take(*rows);
            error = rows->MoveNext();
        }
        if (error) {
            return error;
        }
    }
    return {};
}

RowReading::RowReading(dao::Database& database, std::vector<RowSource> sources, Done done, QObject* owner)
    : QObject(owner), m_sources(std::move(sources)), m_rows(m_sources.size()), m_done(std::move(done))
{
    for (size_t i = 0; i < m_sources.size() && !m_error; ++i) {
        m_error = open(database, m_sources[i], m_rows[i]);
    }
    QTimer::singleShot(0, this, &RowReading::step);
}

RowReading::~RowReading() = default;

void RowReading::step()
{
    QElapsedTimer timer;
    timer.start();
    while (!m_error && m_source < m_sources.size()) {
        dao::Recordset& rows = *m_rows[m_source];
        while (!m_error && !rows.Eof()) {
            m_sources[m_source].take(rows);
            m_error = rows.MoveNext();
            if (!m_error && timer.nsecsElapsed() > kStepNanoseconds) {
                QTimer::singleShot(0, this, &RowReading::step);
                return;
            }
        }
        m_rows[m_source].reset();
        ++m_source;
    }
    m_rows.clear();
    // done may delete this reading: what it is handed must not live in it.
    const Done done = std::move(m_done);
    const dao::Error error = m_error;
    done(error);
}

} // namespace recordtools
