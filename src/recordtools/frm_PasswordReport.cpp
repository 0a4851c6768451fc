#include "frm_PasswordReport.h"

#include "ui_frm_PasswordReport.h"

#include "General.h"
#include "LookupLists.h"
#include "RecordList.h"

#include <QKeyEvent>
#include <QPushButton>

frm_PasswordReport::frm_PasswordReport(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frm_PasswordReport>())
{
    ui->setupUi(this);
    m_rows = new RecordList(this);
    ui->lv_ReportRows->setModel(m_rows);
    ui->lv_ReportRows->installEventFilter(this);
    connect(ui->lv_ReportRows, &QListView::activated, this, [this](const QModelIndex& index) { choose(index.row()); });
    connect(ui->cb_Close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ui->lv_ReportRows->setFocus();
}

frm_PasswordReport::~frm_PasswordReport() = default;

dao::Error frm_PasswordReport::load(dao::Database& database, const QDate& today)
{
    using Findings = QList<recordtools::Finding>;
    if (lookup::recordCount(database) > lookup::kReadAtOnceRecords) {
        auto reading = std::make_shared<recordtools::ReportReading>();
        m_reading = new recordtools::RowReading(
            database, reading->sources(),
            [this, reading, today](const dao::Error& error) {
                delete m_reading;
                m_reading = nullptr;
                if (error) {
                    ShowErrorText(error);
                }
                setFindings(error ? Findings() : reading->findings(today));
            },
            this);
        ui->lbl_ReportSummary->setText(QStringLiteral("Reading the records..."));
        return {};
    }
    Findings findings;
    const dao::Error error = recordtools::passwordReport(database, today, findings);
    if (!error) {
        setFindings(findings);
    }
    return error;
}

void frm_PasswordReport::setFindings(const QList<recordtools::Finding>& findings)
{
    m_records.clear();
    QList<int> rows;
    QStringList reasons;
    for (const recordtools::Finding& finding : findings) {
        rows.append(m_records.size());
        m_records.add(finding.record, {});
        reasons.append(finding.reason);
    }
    m_rows->show(&m_records, rows);
    m_rows->setRemarks(reasons);
    ui->lbl_ReportSummary->setText(
        findings.isEmpty() ? QStringLiteral("Nothing to look at: no web account has a shared, empty or short password, "
                                            "and no credit card expires within %1 days.")
                                 .arg(recordtools::kExpiringSoonDays)
        : findings.size() == 1 ? QStringLiteral("1 thing to look at:")
                               : QStringLiteral("%1 things to look at:").arg(findings.size()));
    if (!rows.isEmpty()) {
        ui->lv_ReportRows->setCurrentIndex(m_rows->index(0));
    }
}

void frm_PasswordReport::choose(int row)
{
    const int at = m_rows->recordAt(row);
    if (at < 0) {
        return;
    }
    m_chosen = m_records.record(at);
    accept();
}

void frm_PasswordReport::done(int result)
{
    delete m_reading;
    m_reading = nullptr;
    m_rows->show(nullptr, {});
    m_records.clear();
    QDialog::done(result);
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
