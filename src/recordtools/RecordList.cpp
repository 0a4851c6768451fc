#include "RecordList.h"

RecordList::RecordList(QObject* parent) : QAbstractListModel(parent) {}

void RecordList::show(const recordtools::SearchIndex* index, QList<int> rows)
{
    beginResetModel();
    m_index = index;
    m_rows = index != nullptr ? std::move(rows) : QList<int>();
    m_remarks.clear();
    endResetModel();
}

void RecordList::setRemarks(QStringList remarks)
{
    m_remarks = std::move(remarks);
    if (!m_rows.isEmpty()) {
        emit dataChanged(index(0), index(static_cast<int>(m_rows.size()) - 1));
    }
}

QString RecordList::rowText(int row) const
{
    const int at = recordAt(row);
    if (m_index == nullptr || at < 0 || at >= m_index->size()) {
        return {};
    }
    const recordtools::Record& record = m_index->record(at);
    QString text = record.name;
    if (!record.detail.isEmpty()) {
        text += QStringLiteral(" (") + record.detail + QLatin1Char(')');
    }
    text += QStringLiteral(" - ") + recordtools::pageTitle(record.page);
    const QString remark = m_remarks.value(row);
    if (!remark.isEmpty()) {
        text += QStringLiteral(": ") + remark;
    }
    return text;
}

int RecordList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant RecordList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size()) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        return rowText(index.row());
    }
    return {};
}
