#include "RecordIO.h"

#include "ControlValue.h"
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

namespace {

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
    control->setProperty(kShownAfterLoad, controlValue(control, Reading::Shown));
}

QVariant valueToStore(const QWidget* control)
{
    const QVariant shownAfterLoad = control->property(kShownAfterLoad);
    if (shownAfterLoad.isValid() && shownAfterLoad.toString() == controlValue(control, Reading::Shown)) {
        return control->property(kStoredValue);
    }
    return controlValue(control);
}

bool isBlank(const QString& name)
{
    return name.trimmed().isEmpty();
}

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
    dao::Transaction transaction;
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
            platform::ShowMessage(info.refusal, platform::MessageKind::Information, QStringLiteral("Corvanta Error"));
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

void FillList(QComboBox* combo, const QString& kind)
{
    if (combo == nullptr || !gdb_Data) {
        return;
    }
    // Every list but the states' keeps its items in alphabetical order.
    dropdown::fill(combo, *gdb_Data, kind, kind != QLatin1String("States"));
}
