#pragma once

#include "EditDialog.h"

#include <memory>

namespace Ui {
class frm_PersonalInformation;
}

// The one personal record: name, address, telephone and the default e-mail address.
class frm_PersonalInformation : public EditDialog
{
    Q_OBJECT

public:
    explicit frm_PersonalInformation(QWidget* parent = nullptr);
    ~frm_PersonalInformation() override;

    void Form_Load(const QString& recordId) override;
    QList<RecordField> recordFields() const override;

private:
    std::unique_ptr<Ui::frm_PersonalInformation> ui;
};
