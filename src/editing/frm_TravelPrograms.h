#pragma once

#include "EditDialog.h"

#include <memory>

namespace Ui {
class frm_TravelPrograms;
}

// A travel program: its type, the account and its PIN, the related web account and notes.
class frm_TravelPrograms : public EditDialog
{
    Q_OBJECT

public:
    explicit frm_TravelPrograms(QWidget* parent = nullptr);
    ~frm_TravelPrograms() override;

    void Form_Load(const QString& recordId) override;
    QList<RecordField> recordFields() const override;

private:
    std::unique_ptr<Ui::frm_TravelPrograms> ui;
};
