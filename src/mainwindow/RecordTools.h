#pragma once

#include <QObject>
#include <QPointer>

class frm_Main;
class QDialog;

// The main window's quick ways to a record and to its secrets: Edit > Find. Added to the menus by
// the window once; everything else of it lives here.
class RecordTools : public QObject
{
    Q_OBJECT

public:
    explicit RecordTools(frm_Main& main);

    // Edit > Find: opens the Find window over the open data file and shows the record chosen.
    void mnu_EditFind_Click();
    // Shows a record on its page; false (with the error shown) when it cannot be reached.
    bool showRecord(const QString& category, qint64 id);

    // The data file closed for the lock: an open Find window goes.
    void dataLocked();

private:
    frm_Main& m_main;
    QPointer<QDialog> m_open;
};
