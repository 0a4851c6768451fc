#pragma once

#include "EditDialog.h"

#include <memory>

namespace Ui {
class frm_WebAccounts;
}

// A web account: site, address, login, password, e-mail address and notes.
class frm_WebAccounts : public EditDialog
{
    Q_OBJECT

public:
    explicit frm_WebAccounts(QWidget* parent = nullptr);
    ~frm_WebAccounts() override;

    void Form_Load(const QString& recordId) override;
    QList<RecordField> recordFields() const override;

private:
    std::unique_ptr<Ui::frm_WebAccounts> ui;
};
