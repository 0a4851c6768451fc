#pragma once

#include "RecordWindow.h"

#include <memory>

namespace Ui {
class frm_Find;
}

// A small window with one box: as the person types, it lists the records whose name, login, web
// address, e-mail address or notes hold the text. Enter or a double click chooses a record and
// closes the window; Esc closes it. The records are read once, when the window opens (in short
// steps when there are many, the person typing meanwhile), and forgotten when it closes.
class frm_Find : public RecordWindow
{
    Q_OBJECT

public:
    explicit frm_Find(QWidget* parent = nullptr);
    ~frm_Find() override;

    // Reads the records to search; on failure the window finds nothing. Where there are many,
    // they arrive shortly after; reading() tells.
    dao::Error load(dao::Database& database);
    // Lists the records holding text, as a keystroke in the box does.
    void search(const QString& text);

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showCount();

    // No one reads through more rows than these: past them the person types on.
    static constexpr qsizetype kShown = 1000;

    std::unique_ptr<Ui::frm_Find> ui;
    QString m_lastText;
    QList<int> m_lastFound;
    bool m_more = false;
};
