#pragma once

#include "EditDialog.h"

#include <memory>

class QButtonGroup;

namespace Ui {
class frm_CreditCards;
}

// A credit card: its type, the name on it, number, expiration date, telephone and notes.
class frm_CreditCards : public EditDialog
{
    Q_OBJECT

public:
    explicit frm_CreditCards(QWidget* parent = nullptr);
    ~frm_CreditCards() override;

    void Form_Load(const QString& recordId) override;
    QList<RecordField> recordFields() const override;

    // Records the chosen card type (1 to 5) as the frame's Tag, " 1" to " 5", which is stored.
    void ob_CreditCard_Click(int index);

private:
    std::unique_ptr<Ui::frm_CreditCards> ui;
    QButtonGroup* ob_CreditCard = nullptr;
};
