#include "ControlValue.h"

#include "MaskedEdit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVariant>

QString controlValue(const QWidget* control, Reading reading)
{
    if (const auto* masked = qobject_cast<const MaskedEdit*>(control)) {
        switch (reading) {
        case Reading::Stored:
            return masked->StoredText();
        case Reading::Entry:
            return masked->ClipText();
        case Reading::Shown:
            return masked->Text();
        }
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
