#include "RecordWindow.h"

#include "General.h"
#include "LookupLists.h"
#include "RecordList.h"

RecordWindow::RecordWindow(QWidget* parent) : QDialog(parent), m_list(new RecordList(this)) {}

RecordWindow::~RecordWindow() = default;

dao::Error RecordWindow::read(dao::Database& database, std::vector<recordtools::RowSource> sources,
                              std::function<void(const dao::Error& error)> finished)
{
    if (lookup::recordCount(database) <= lookup::kReadAtOnceRecords) {
        const dao::Error error = recordtools::readRows(database, sources);
        finished(error);
        return error;
    }
    m_reading = new recordtools::RowReading(
        database, std::move(sources),
        [this, finished = std::move(finished)](const dao::Error& error) {
            delete m_reading;
            m_reading = nullptr;
            if (error) {
                ShowErrorText(error);
            }
            finished(error);
        },
        this);
    return {};
}

void RecordWindow::choose(int row)
{
    const int at = m_list->recordAt(row);
    if (at < 0) {
        return;
    }
    m_chosen = m_index.record(at);
    accept();
}

void RecordWindow::done(int result)
{
    delete m_reading;
    m_reading = nullptr;
    m_list->show(nullptr, {});
    m_index.clear();
    QDialog::done(result);
}
