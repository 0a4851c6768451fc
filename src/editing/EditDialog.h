#pragma once

#include "Categories.h"
#include "RecordIO.h"

#include <QDialog>
#include <QList>
#include <QString>

class FieldGuard;
class QLabel;
class QPushButton;

// The length limit of the boxes that hold a name or a login: room for any real one.
constexpr int kNameLimit = 255;

// What the four edit dialogs share: the record kind, the record id, OK and Cancel, the window's
// look and the field rules. A dialog is made, loaded with Form_Load, shown modally and deleted.
class EditDialog : public QDialog
{
    Q_OBJECT

public:
    // The id text the main window passed in; after OK saved a new record, that record's id.
    QString istr_RecordID;
    // The record being edited, 0 for a new one (the personal dialog always has 0).
    qint64 iint_RecordID = 0;

    Category recordCategory() const { return m_recordCategory; }

    // Loads the record istr_RecordID names and fills the drop-down lists.
    virtual void Form_Load(const QString& recordId) = 0;

    // Saves; closes only when the save succeeded, otherwise everything stays as it was.
    void cb_OK_Click();
    // Closes without saving and without checking any field.
    void cb_Cancel_Click();
    // Esc and the close box come here: they count as Cancel.
    void reject() override;

protected:
    EditDialog(Category recordCategory, QWidget* parent);

    // The record's fields with the controls that hold them, in the order they are written.
    virtual QList<RecordField> recordFields() const = 0;

    // Call after setupUi: the window's look, OK and Cancel, the combo boxes' and notes boxes'
    // behaviour, the field guard over every control made so far and their names for screen
    // readers (give a control a name of its own before).
    void prepare(QPushButton* ok, QPushButton* cancel);
    // The keystroke mode and the validate kind of a field (either may be empty).
    void fieldRules(QWidget* field, const QString& keyMode, const QString& validateKind = QString());
    // Draws the title band (the kind's title) down the left side once the controls are laid out.
    void setTitlePicture(QLabel* picture);
    // Takes istr_RecordID as the id to edit; one that is not a whole number from 0 to
    // 2147483647 is reported and the dialog opens without a record.
    void takeRecordId(const QString& recordId);

private:
    Category m_recordCategory;
    FieldGuard* m_guard = nullptr;
};
