#include "MaskedEdit.h"

#include "InputRules.h"
#include "KeyFilter.h"
#include "Platform.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QValidator>

namespace {

// Qt's digit positions take any character it counts as a number (such as "²" or "٣"); the
// program stores and formats only 0-9.
class AsciiDigitsValidator : public QValidator
{
public:
    AsciiDigitsValidator(const QString& originalMask, QObject* parent)
        : QValidator(parent), m_originalMask(originalMask)
    {}

    State validate(QString& input, int& /*position*/) const override
    {
        for (QChar c : MaskClipText(m_originalMask, input)) {
            if (c < u'0' || c > u'9') {
                return Invalid;
            }
        }
        return Acceptable;
    }

private:
    QString m_originalMask;
};

} // namespace

MaskedEdit::MaskedEdit(QWidget* parent) : QLineEdit(parent) {}

void MaskedEdit::setOriginalMask(const QString& mask)
{
    m_keepStored = false;
    m_originalMask = mask;
    delete m_digitsValidator;
    m_digitsValidator = mask.isEmpty() ? nullptr : new AsciiDigitsValidator(mask, this);
    setValidator(m_digitsValidator);
    setInputMask(QtInputMask(mask, MaskPositions::AllOptional));
    clear();
}

bool MaskedEdit::keptAsLoaded() const
{
    // Still as loaded: not edited (or every edit undone) and not set to something else by the
    // program. Any editing key counts, even one that leaves the shown text as it was.
    return m_keepStored && !isModified() && Text() == m_storedDisplay;
}

QString MaskedEdit::ClipText() const
{
    return keptAsLoaded() ? m_storedText : MaskClipText(m_originalMask, Text());
}

QString MaskedEdit::StoredText() const
{
    return keptAsLoaded() ? m_storedText : MaskStoredText(m_originalMask, Text());
}

void MaskedEdit::setStoredText(const QString& stored)
{
    m_keepStored = false;
    setText(MaskDisplayText(m_originalMask, stored));
    if (MaskStoredText(m_originalMask, Text()) != stored) {
        m_storedText = stored;
        m_storedDisplay = Text();
        m_keepStored = true;
    }
}

QString MaskedEdit::Text() const
{
    // Without a mask displayText() would be the echo characters of a password field.
    return m_originalMask.isEmpty() ? text() : displayText();
}

void MaskedEdit::pasteText(const QString& text)
{
    if (m_originalMask.isEmpty()) {
        insert(text);
        return;
    }
    const bool selection = hasSelectedText();
    const MaskEntry entry = MaskPaste(m_originalMask, Text(), selection ? selectionStart() : cursorPosition(),
                                      selection ? selectedText().size() : 0, text);
    if (entry.unplaced > 0) {
        RefusePaste(QStringLiteral("The text pasted has more digits than this box holds. Nothing was pasted."));
        return;
    }
    if (entry.refused > 0) {
        platform::Beep();
    }
    enter(entry);
}

bool MaskedEdit::event(QEvent* event)
{
    if (!m_originalMask.isEmpty() && RoutePaste(this, event, [this](const QString& text) { pasteText(text); })) {
        return true;
    }
    return QLineEdit::event(event);
}

void MaskedEdit::keyPressEvent(QKeyEvent* event)
{
    if (m_originalMask.isEmpty() || !IsTypedText(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    typeText(event->text());
    event->accept();
}

void MaskedEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (m_originalMask.isEmpty() || event->commitString().isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent composing(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&composing);
    typeText(event->commitString());
    event->accept();
}

void MaskedEdit::typeText(const QString& text)
{
    const bool selection = hasSelectedText();
    const MaskEntry entry = MaskType(m_originalMask, Text(), selection ? selectionStart() : cursorPosition(),
                                     selection ? selectedText().size() : 0, text);
    if (entry.refused > 0) {
        platform::Beep();
    }
    enter(entry);
}

void MaskedEdit::enter(const MaskEntry& entry)
{
    const QString before = Text();
    for (int i = 0; i < entry.shown.size() && i < before.size(); ++i) {
        if (entry.shown.at(i) == before.at(i)) {
            continue;
        }
        // With a mask, deleting blanks a position and inserting overwrites it.
        deselect();
        setCursorPosition(i);
        if (entry.shown.at(i) == kMaskBlank) {
            del();
        } else {
            insert(QString(entry.shown.at(i)));
        }
    }
    deselect();
    setCursorPosition(static_cast<int>(entry.cursor));
}
