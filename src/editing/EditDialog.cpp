#include "EditDialog.h"

#include "Accessibility.h"
#include "EditPictures.h"
#include "FieldGuard.h"
#include "General.h"
#include "KeyFilter.h"
#include "RecordIO.h"
#include "RecordId.h"

#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

EditDialog::EditDialog(Category recordCategory, QWidget* parent) : QDialog(parent), m_recordCategory(recordCategory) {}

void EditDialog::prepare(QPushButton* ok, QPushButton* cancel)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    QFont arial = font();
    arial.setPointSizeF(8.25);
    setFont(arial);
    if (layout() != nullptr) {
        layout()->setSizeConstraint(QLayout::SetFixedSize);
    }
    for (QComboBox* combo : findChildren<QComboBox*>()) {
        // The list offers values; it neither grows from what is typed nor completes a typed
        // value into a longer one that the user did not mean.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
        combo->setMaxVisibleItems(12);
    }
    for (QPlainTextEdit* notes : findChildren<QPlainTextEdit*>()) {
        notes->setTabChangesFocus(true);
        notes->setFixedHeight(notes->fontMetrics().lineSpacing() * 5);
    }
    // Room for a name or an address; the narrow fields (state, masked fields) keep their size.
    for (QWidget* field : findChildren<QWidget*>()) {
        const bool wide = qobject_cast<QComboBox*>(field) != nullptr ||
                          (qobject_cast<QLineEdit*>(field) != nullptr && field->inherits("MaskedEdit") == false &&
                           qobject_cast<QComboBox*>(field->parentWidget()) == nullptr);
        if (wide && field->maximumWidth() >= 220) {
            field->setMinimumWidth(220);
        }
    }
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &EditDialog::cb_OK_Click);
    connect(cancel, &QPushButton::clicked, this, &EditDialog::cb_Cancel_Click);
    m_guard = new FieldGuard(this, ok, cancel);
    accessibility::nameControls(this);
}

void EditDialog::fieldRules(QWidget* field, const QString& keyMode, const QString& validateKind)
{
    if (!keyMode.isEmpty()) {
        KeyFilter::install(field, keyMode);
    }
    if (!validateKind.isEmpty() && m_guard != nullptr) {
        m_guard->validate(field, validateKind);
    }
}

void EditDialog::setTitlePicture(QLabel* picture)
{
    const QString subject = categories::info(m_recordCategory).title;
    // The band follows the dialog's height instead of setting it.
    picture->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    adjustSize();
    if (layout() != nullptr) {
        layout()->activate();
    }
    picture->setPixmap(titlePicture(subject, QSize(picture->minimumWidth(), std::max(picture->height(), 1)),
                                    picture->devicePixelRatioF()));
    // The band is a picture of these words; a screen reader says them.
    picture->setAccessibleName(subject);
}

void EditDialog::takeRecordId(const QString& recordId)
{
    istr_RecordID = recordId;
    if (dao::Error e = recordIdFromText(recordId, iint_RecordID)) {
        ShowErrorText(e);
    }
}

void EditDialog::cb_OK_Click()
{
    qint64 newRecordId = 0;
    if (!SaveRecord(m_recordCategory, iint_RecordID, recordFields(), &newRecordId)) {
        return;
    }
    if (newRecordId > 0) {
        istr_RecordID = QString::number(newRecordId);
    }
    accept();
}

void EditDialog::cb_Cancel_Click()
{
    QDialog::reject();
}

void EditDialog::reject()
{
    cb_Cancel_Click();
}
