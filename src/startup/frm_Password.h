#pragma once

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class frm_Password;
}

// Replaces the data file's password, or removes it when the new one is empty. The window is
// created once and only hidden afterwards; every showing starts with empty boxes.
class frm_Password : public QDialog
{
    Q_OBJECT

public:
    explicit frm_Password(QWidget* parent = nullptr);
    ~frm_Password() override;

    // Makes the main window's data views let go of the file before it is opened exclusively.
    void setResetDataControls(std::function<void()> reset) { m_resetDataControls = std::move(reset); }

    // True when the last OK changed the password.
    bool changed() const { return m_changed; }

    void cb_OK_Click();
    void cb_Cancel_Click();
    // Esc and the window manager's close both come here: they count as Cancel.
    void reject() override { cb_Cancel_Click(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Activate();
    void emptyBoxes();

    std::unique_ptr<Ui::frm_Password> ui;
    std::function<void()> m_resetDataControls;
    bool m_changed = false;
};
