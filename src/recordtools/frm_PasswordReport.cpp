#include "frm_PasswordReport.h"

#include "ui_frm_PasswordReport.h"

#include "RecordList.h"

#include <QKeyEvent>
#include <QPushButton>

frm_PasswordReport::frm_PasswordReport(QWidget* parent)
    : RecordWindow(parent), ui(std::make_unique<Ui::frm_PasswordReport>())
{
    ui->setupUi(this);
    ui->lv_ReportRows->setModel(m_list);
    ui->lv_ReportRows->installEventFilter(this);
    connect(ui->lv_ReportRows, &QListView::activated, this, [this](const QModelIndex& index) { choose(index.row()); });
    connect(ui->cb_Close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ui->lv_ReportRows->setFocus();
}

frm_PasswordReport::~frm_PasswordReport() = default;

dao::Error frm_PasswordReport::load(dao::Database& database, const QDate& today)
{
    auto report = std::make_shared<recordtools::ReportReading>();
    const dao::Error error = read(database, report->sources(), [this, report, today](const dao::Error& error) {
        setFindings(error ? QList<recordtools::Finding>() : report->findings(today));
    });
    if (reading()) {
        ui->lbl_ReportSummary->setText(QStringLiteral("Reading the records..."));
    }
    return error;
}

void frm_PasswordReport::setFindings(const QList<recordtools::Finding>& findings)
{
    m_index.clear();
    QList<int> rows;
    QStringList reasons;
    for (const recordtools::Finding& finding : findings) {
        rows.append(m_index.size());
        m_index.add(finding.record, {});
        reasons.append(finding.reason);
    }
    m_list->show(&m_index, rows);
    m_list->setRemarks(reasons);
    ui->lbl_ReportSummary->setText(
        findings.isEmpty() ? QStringLiteral("Nothing to look at: no web account has a shared, empty or short password, "
                                            "and no credit card expires within %1 days.")
                                 .arg(recordtools::kExpiringSoonDays)
        : findings.size() == 1 ? QStringLiteral("1 thing to look at:")
                               : QStringLiteral("%1 things to look at:").arg(findings.size()));
    if (!rows.isEmpty()) {
        ui->lv_ReportRows->setCurrentIndex(m_list->index(0));
    }
}

bool frm_PasswordReport::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->lv_ReportRows && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            choose(ui->lv_ReportRows->currentIndex().row());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
