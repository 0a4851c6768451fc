#include "frm_Find.h"

#include "ui_frm_Find.h"

#include "RecordList.h"

#include <QKeyEvent>

frm_Find::frm_Find(QWidget* parent) : RecordWindow(parent), ui(std::make_unique<Ui::frm_Find>())
{
    ui->setupUi(this);
    ui->lv_FindResults->setModel(m_list);
    ui->sle_FindText->installEventFilter(this);
    ui->lv_FindResults->installEventFilter(this);
    connect(ui->sle_FindText, &QLineEdit::textChanged, this, &frm_Find::search);
    connect(ui->lv_FindResults, &QListView::activated, this, [this](const QModelIndex& index) { choose(index.row()); });
    showCount();
    ui->sle_FindText->setFocus();
}

frm_Find::~frm_Find() = default;

dao::Error frm_Find::load(dao::Database& database)
{
    m_index.clear();
    const dao::Error error = read(database, m_index.sources(), [this](const dao::Error& error) {
        if (error) {
            m_index.clear();
        }
        m_lastText.clear();
        search(ui->sle_FindText->text());
    });
    showCount();
    return error;
}

void frm_Find::search(const QString& text)
{
    // Typing on narrows what the last keystroke found, when that was all there was to find.
    const bool narrows = !m_more && !m_lastText.isEmpty() && text.contains(m_lastText, Qt::CaseInsensitive);
    m_lastFound = m_index.search(text, narrows ? &m_lastFound : nullptr, kShown + 1);
    m_more = m_lastFound.size() > kShown;
    if (m_more) {
        m_lastFound.removeLast();
    }
    m_lastText = text;
    m_list->show(&m_index, m_lastFound);
    showCount();
}

void frm_Find::showCount()
{
    const qsizetype count = m_lastFound.size();
    QString text;
    if (reading()) {
        text = QStringLiteral("Reading the records...");
    } else if (m_more) {
        text = QStringLiteral("More than %1 records found: type more to narrow the list").arg(kShown);
    } else if (count == 1) {
        text = QStringLiteral("1 record found");
    } else if (count > 1) {
        text = QStringLiteral("%1 records found").arg(count);
    } else if (!ui->sle_FindText->text().isEmpty()) {
        text = QStringLiteral("No record found");
    }
    ui->lbl_FindCount->setText(text);
}

void frm_Find::done(int result)
{
    m_lastFound.clear();
    RecordWindow::done(result);
}

bool frm_Find::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    QListView* list = ui->lv_FindResults;
    if (watched == ui->sle_FindText) {
        if ((key == Qt::Key_Down || key == Qt::Key_PageDown) && m_list->rowCount() > 0) {
            list->setFocus(Qt::TabFocusReason);
            list->setCurrentIndex(m_list->index(0));
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter in the box takes the record marked in the list, else the first one found.
            const QModelIndex current = list->currentIndex();
            choose(current.isValid() ? current.row() : 0);
            return true;
        }
    } else if (watched == list) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            choose(list->currentIndex().row());
            return true;
        }
        if (key == Qt::Key_Up && list->currentIndex().row() <= 0) {
            ui->sle_FindText->setFocus(Qt::BacktabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
