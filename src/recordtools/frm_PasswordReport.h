#pragma once

#include "PasswordReport.h"

#include <QDialog>

#include <memory>
#include <optional>

namespace Ui {
class frm_PasswordReport;
}
class RecordList;
namespace recordtools {
class RowReading;
}

// View > Password Report: the records whose passwords or expiry dates deserve a look, each row
// saying why. Enter or a double click chooses one and closes the window, as in Find.
class frm_PasswordReport : public QDialog
{
    Q_OBJECT

public:
    explicit frm_PasswordReport(QWidget* parent = nullptr);
    ~frm_PasswordReport() override;

    // Works out the report from database; where there are many records the findings arrive
    // shortly after the window shows, and reading() tells.
    dao::Error load(dao::Database& database, const QDate& today);
    bool reading() const { return m_reading != nullptr; }
    void setFindings(const QList<recordtools::Finding>& findings);
    std::optional<recordtools::Record> chosen() const { return m_chosen; }
    RecordList& rows() const { return *m_rows; }

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose(int row);

    std::unique_ptr<Ui::frm_PasswordReport> ui;
    RecordList* m_rows = nullptr;
    recordtools::SearchIndex m_records;
    recordtools::RowReading* m_reading = nullptr;
    std::optional<recordtools::Record> m_chosen;
};
