#include "RecordIO.h"

#include "DropDownLists.h"
#include "General.h"
#include "KeyFilter.h"
#include "MaskedEdit.h"
#include "Platform.h"
#include "Statements.h"

#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QStringListModel>
#include <QWidget>

#include <algorithm>
#include <limits>

namespace {

// What a control holds as a record's field: a masked field's entry as it is stored, the text of
// a text box or of a combo box's edit portion, or the card type kept in a frame's Tag.
QString controlValue(const QWidget* control)
{
    if (const auto* masked = qobject_cast<const MaskedEdit*>(control)) {
        return masked->StoredText();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        return edit->text();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        return combo->currentText();
    }
    if (const auto* notes = qobject_cast<const QPlainTextEdit*>(control)) {
        return notes->toPlainText();
    }
    return control->property("Tag").toString();
}

// What the control shows; it tells whether the user changed anything since the load.
QString shownValue(const QWidget* control)
{
    if (const auto* masked = qobject_cast<const MaskedEdit*>(control)) {
        return masked->Text();
    }
    return controlValue(control);
}

// A control may not show a stored value exactly: a text longer than the field's limit, a Null,
// line ends a text box turns into its own. The stored value and what the control showed right
// after loading it are kept on the control; while it still shows that, the stored value is what
// it holds.
const char* const kStoredValue = "corvantaStoredValue";
const char* const kShownAfterLoad = "corvantaShownAfterLoad";

void putValue(QWidget* control, const QVariant& stored)
{
    const QString text = stored.toString();
    // A stored value longer than the field's limit is shown whole rather than cut; the limit is
    // raised for that value alone. A masked field shows its positions whatever the value's length.
    auto* masked = qobject_cast<MaskedEdit*>(control);
    auto* combo = qobject_cast<QComboBox*>(control);
    QLineEdit* edit = combo != nullptr ? combo->lineEdit() : qobject_cast<QLineEdit*>(control);
    if (edit != nullptr && (masked == nullptr || masked->originalMask().isEmpty())) {
        AllowLongerValue(edit, text.size());
    }
    if (masked != nullptr) {
        masked->setStoredText(text);
    } else if (combo != nullptr) {
        combo->setEditText(text);
    } else if (edit != nullptr) {
        edit->setText(text);
    } else if (auto* notes = qobject_cast<QPlainTextEdit*>(control)) {
        notes->setPlainText(text);
    } else {
        control->setProperty("Tag", text);
    }
    control->setProperty(kStoredValue, stored);
    control->setProperty(kShownAfterLoad, shownValue(control));
}

QVariant valueToStore(const QWidget* control)
{
    const QVariant shownAfterLoad = control->property(kShownAfterLoad);
    if (shownAfterLoad.isValid() && shownAfterLoad.toString() == shownValue(control)) {
        return control->property(kStoredValue);
    }
    return controlValue(control);
}

bool isBlank(const QString& name)
{
    return name.trimmed().isEmpty();
}

// Rolls the transaction back on every way out that did not commit.
class Transaction
{
public:
    Transaction() = default;
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction()
    {
        if (m_begun && dao::DBEngine::InTransaction()) {
            (void)dao::DBEngine::Rollback();
        }
    }
    [[nodiscard]] dao::Error begin()
    {
        dao::Error e = dao::DBEngine::BeginTrans();
        m_begun = !e;
        return e;
    }
    [[nodiscard]] dao::Error commit()
    {
        dao::Error e = dao::DBEngine::CommitTrans(dao::dbForceOSFlush);
        m_begun = m_begun && static_cast<bool>(e);
        return e;
    }

private:
    bool m_begun = false;
};

dao::Error noDatabase()
{
    return dao::makeError(dao::err::ObjectClosed);
}

dao::Error writeRecord(Category kind, qint64 recordId, const QList<RecordField>& fields, qint64& newRecordId)
{
    dao::RecordsetPtr rs;
    if (dao::Error e = gdb_Data->OpenRecordset(statements::saveRecord(kind, recordId), rs, dao::dbOpenDynaset,
                                               dao::dbConsistent, dao::dbOptimistic)) {
        return e;
    }
    Transaction transaction;
    if (dao::Error e = transaction.begin()) {
        return e;
    }
    const bool personal = kind == Category::Personal;
    const bool adding = personal ? rs->Bof() && rs->Eof() : recordId == 0;
    if (adding) {
        if (dao::Error e = rs->AddNew()) {
            return e;
        }
    } else {
        // An empty record set here means the record was deleted since the dialog opened.
        if (dao::Error e = rs->MoveFirst()) {
            return e;
        }
        if (dao::Error e = rs->Edit()) {
            return e;
        }
    }
    for (const RecordField& pair : fields) {
        if (dao::Error e = rs->SetField(QLatin1String(pair.field), valueToStore(pair.control))) {
            rs->CancelUpdate();
            return e;
        }
    }
    if (dao::Error e = rs->Update()) {
        rs->CancelUpdate();
        return e;
    }
    const qint64 added = rs->LastInsertedKey();
    if (dao::Error e = transaction.commit()) {
        return e;
    }
    rs->Close();
    dao::DBEngine::Idle(dao::dbRefreshCache);
    if (adding && !personal) {
        newRecordId = added;
    }
    return {};
}

} // namespace

bool LoadRecord(Category kind, qint64 recordId, const QList<RecordField>& fields)
{
    if (!gdb_Data) {
        ShowErrorText(noDatabase());
        return false;
    }
    dao::RecordsetPtr rs;
    if (dao::Error e = gdb_Data->OpenRecordset(statements::loadRecord(kind, recordId), rs)) {
        ShowErrorText(e);
        return false;
    }
    if (rs->Bof() && rs->Eof()) {
        return true;
    }
    if (rs->MoveFirst()) {
        return true;
    }
    for (const RecordField& pair : fields) {
        QVariant value;
        if (rs->Field(QLatin1String(pair.field), value)) {
            continue;
        }
        putValue(pair.control, value);
    }
    return true;
}

bool SaveRecord(Category kind, qint64 recordId, const QList<RecordField>& fields, qint64* newRecordId)
{
    // A record of a named kind needs a name, new or not: renaming one to blanks is refused alike.
    const CategoryInfo& info = categories::info(kind);
    if (!info.refusal.isEmpty()) {
        const auto name = std::find_if(fields.cbegin(), fields.cend(), [&info](const RecordField& pair) {
            return info.nameField == QLatin1String(pair.field);
        });
        if (name == fields.cend() || isBlank(controlValue(name->control))) {
            platform::MsgBox(info.refusal, platform::vbInformation, QStringLiteral("Corvanta Error"));
            if (name != fields.cend()) {
                name->control->setFocus();
            }
            return false;
        }
    }
    if (!gdb_Data) {
        ShowErrorText(noDatabase());
        return false;
    }
    qint64 added = 0;
    if (dao::Error e = writeRecord(kind, recordId, fields, added)) {
        ShowErrorText(e);
        return false;
    }
    if (newRecordId != nullptr && added > 0) {
        *newRecordId = added;
    }
    return true;
}

void FillList(QWidget* form, const QString& kind)
{
    const statements::LookupList list = statements::lookupList(kind);
    auto* combo = list.comboBox.isEmpty() ? nullptr : form->findChild<QComboBox*>(list.comboBox);
    if (combo == nullptr || !gdb_Data) {
        return;
    }
    // Every list but the states' keeps its items in alphabetical order.
    dropdown::fill(combo, *gdb_Data, kind, list.comboBox != QLatin1String("ddlb_State"));
}

dao::Error RecordIdFromText(const QString& text, qint64& id)
{
    id = 0;
    bool isNumber = false;
    const QString trimmed = text.trimmed();
    const qlonglong value = trimmed.toLongLong(&isNumber);
    if (!isNumber) {
        // A number too long for 64 bits is still a number, only too large.
        bool allDigits = !trimmed.isEmpty();
        for (qsizetype i = 0; i < trimmed.size(); ++i) {
            const QChar c = trimmed.at(i);
            allDigits = allDigits && (c.isDigit() || (i == 0 && (c == u'+' || c == u'-')));
        }
        if (allDigits && trimmed.size() > 1) {
            return dao::Error(6, QStringLiteral("Overflow"));
        }
        return dao::Error(13, QStringLiteral("Type mismatch"));
    }
    if (value < 0 || value > std::numeric_limits<qint32>::max()) {
        return dao::Error(6, QStringLiteral("Overflow"));
    }
    id = value;
    return {};
}
