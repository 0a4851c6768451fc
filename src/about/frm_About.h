#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class frm_About;
}

// What the program is, who makes it, where to write; and a way to the desktop's
// system-information program.
class frm_About : public QDialog
{
    Q_OBJECT

public:
    explicit frm_About(QWidget* parent = nullptr);
    ~frm_About() override;

    void cb_OK_Click();
    void cb_SysInfo_Click();

private:
    // Starts the system-information program, or says that there is none.
    void wf_StartSysInfo();

    std::unique_ptr<Ui::frm_About> ui;
};
