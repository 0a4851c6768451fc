#pragma once

#include "PasswordReport.h"
#include "RecordWindow.h"

#include <memory>

namespace Ui {
class frm_PasswordReport;
}

// View > Password Report: the records whose passwords or expiry dates deserve a look, each row
// saying why. Enter or a double click chooses one and closes the window, as in Find.
class frm_PasswordReport : public RecordWindow
{
    Q_OBJECT

public:
    explicit frm_PasswordReport(QWidget* parent = nullptr);
    ~frm_PasswordReport() override;

    // Works out the report from database; where there are many records the findings arrive
    // shortly after the window shows, and reading() tells.
    dao::Error load(dao::Database& database, const QDate& today);
    void setFindings(const QList<recordtools::Finding>& findings);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::frm_PasswordReport> ui;
};
