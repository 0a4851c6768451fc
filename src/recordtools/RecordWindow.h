#pragma once

#include "RowReading.h"
#include "SearchIndex.h"

#include <QDialog>

#include <functional>
#include <optional>

class RecordList;

// A window that lists records and hands back the one chosen: Find and the password report. What
// it read goes with it when it closes; only the choice stays.
class RecordWindow : public QDialog
{
    Q_OBJECT

public:
    // The record chosen, once the window was accepted.
    std::optional<recordtools::Record> chosen() const { return m_chosen; }
    // Whether records are still arriving after the window showed.
    bool reading() const { return m_reading != nullptr; }
    RecordList& list() const { return *m_list; }

    void done(int result) override;

protected:
    explicit RecordWindow(QWidget* parent);
    ~RecordWindow() override;

    // Reads the rows of sources from database, then runs finished with the outcome. With few
    // records before it returns (their failure returned too); with many in steps after the window
    // shows, a failure then shown to the person.
    dao::Error read(dao::Database& database, std::vector<recordtools::RowSource> sources,
                    std::function<void(const dao::Error& error)> finished);
    // Accepts the window with the record on a row of the list; a row without one does nothing.
    void choose(int row);

    RecordList* m_list = nullptr;
    // The records the list shows rows of.
    recordtools::SearchIndex m_index;

private:
    recordtools::RowReading* m_reading = nullptr;
    std::optional<recordtools::Record> m_chosen;
};
