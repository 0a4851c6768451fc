#pragma once

#include "Categories.h"

#include <QObject>
#include <QPointer>

class MainWindowInterface;
class QAction;
class QDialog;
class QLineEdit;
class SecretClipboard;

// The main window's quick ways to a record and to its secrets: Edit > Find, View > Password
// Report, Copy on every display field, copying the web account's login (Ctrl+B) and the secret of
// the page in front (Ctrl+Shift+C) for a limited time. Added to the window once; everything else
// of it lives here.
class RecordTools : public QObject
{
    Q_OBJECT

public:
    explicit RecordTools(MainWindowInterface& main);

    // Edit > Find: opens the Find window over the open data file and shows the record chosen.
    void mnu_EditFind_Click();
    // View > Password Report: works out the report over the open data file and shows the record
    // chosen from it.
    void mnu_ViewPasswordReport_Click();
    // Shows a record on its page; false (with the error shown) when it cannot be reached.
    bool showRecord(Category category, qint64 id);

    // Copies a display field's whole value; a password, PIN or card number as a secret.
    void copyField(QLineEdit* field);
    void mnu_EditCopyLogin_Click();
    void mnu_EditCopySecret_Click();
    SecretClipboard& clipboard() const { return *m_clipboard; }

    // The data file closes, for the lock or the end: an open Find or report window goes, and a secret still
    // on the clipboard.
    void dataClosing();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addCopyMenus();
    void showCopyMenu(QLineEdit* field, const QPoint& globalPosition);
    // The field whose value Ctrl+Shift+C copies on the page in front, with the item's caption.
    QLineEdit* secretField() const;
    void nameSecretItem();

    MainWindowInterface& m_main;
    SecretClipboard* m_clipboard = nullptr;
    QAction* m_copySecret = nullptr;
    QPointer<QDialog> m_open;
};
