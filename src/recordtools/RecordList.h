#pragma once

#include "SearchIndex.h"

#include <QAbstractListModel>
#include <QList>

// A list of records of an index as rows: "name (detail) - page". Used by the Find window for
// what it found and by the password report for what it flags.
class RecordList : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit RecordList(QObject* parent = nullptr);

    // Shows these records of index (which must outlive the list, or the next call).
    void show(const recordtools::SearchIndex* index, QList<int> rows);
    // Each row may carry a remark after its page, such as why the report lists it.
    void setRemarks(QStringList remarks);
    int recordAt(int row) const { return m_rows.value(row, -1); }
    // The text of a row, as the list and a screen reader give it.
    QString rowText(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const recordtools::SearchIndex* m_index = nullptr;
    QList<int> m_rows;
    QStringList m_remarks;
};
