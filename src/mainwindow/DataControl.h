#pragma once

#include "Dao.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QWidget>

class QToolButton;

// A view of one record source of the data file, one record at a time, with a navigation bar
// (first, previous, next, last) and display fields bound to it by field name.
//
// The view opens its own connection, given by DatabaseName, Connect and RecordSource, when it is
// refreshed. The bound fields only ever show the current record: nothing typed into them or
// reformatted on screen is written back to the file. Every move goes through the view so that the
// fields follow it; each field then reports its change as any text box does.
class DataControl : public QWidget
{
    Q_OBJECT

public:
    explicit DataControl(QWidget* parent = nullptr);
    ~DataControl() override;

    QString DatabaseName() const { return m_databaseName; }
    void setDatabaseName(const QString& name) { m_databaseName = name; }
    QString RecordSource() const { return m_recordSource; }
    void setRecordSource(const QString& source) { m_recordSource = source; }
    QString Connect() const { return m_connect; }
    void setConnect(const QString& connect) { m_connect = connect; }
    // The password, beside the connect text (which cannot carry every password).
    void setPassword(dao::Password password) { m_password = std::move(password); }

    // Opens the connection and runs the record source, positioned on its first record (none when
    // it is empty). With an empty file name or record source the view lets go of the file and
    // shows nothing. On failure the view is detached and shows nothing.
    dao::Error Refresh();
    // Shows the current record in the bound fields (empty texts where there is none).
    void UpdateControls();
    // Closes the record set; the view shows nothing until it is refreshed.
    void CloseRecordset();

    // The record set; null while the view is detached. Moves made on it directly show only after
    // UpdateControls, so callers use the view's own moves below.
    dao::Recordset* Recordset() const { return m_recordset.get(); }
    bool IsAttached() const { return m_recordset != nullptr; }
    // Both are true while the view is detached.
    bool Bof() const;
    bool Eof() const;
    bool NoMatch() const;

    dao::Error MoveFirst();
    dao::Error MovePrevious();
    dao::Error MoveNext();
    dao::Error MoveLast();
    dao::Error FindFirst(const QString& criteria);
    // Deletes the current record; the view stands on no record until it is moved.
    dao::Error Delete();

    // A QLineEdit or QPlainTextEdit that shows a field of the current record.
    void bind(QWidget* field, const QString& fieldName);

signals:
    // The view stands on another record (or on none).
    void Reposition();

private:
    dao::Error afterMove(dao::Error error);
    void updateButtons();
    void navigate(dao::Error (DataControl::*move)());

    QString m_databaseName;
    QString m_recordSource;
    QString m_connect;
    dao::Password m_password;
    dao::DatabasePtr m_database;
    dao::RecordsetPtr m_recordset;
    QList<QPair<QWidget*, QString>> m_bound;
    QToolButton* m_first = nullptr;
    QToolButton* m_previous = nullptr;
    QToolButton* m_next = nullptr;
    QToolButton* m_last = nullptr;
};
