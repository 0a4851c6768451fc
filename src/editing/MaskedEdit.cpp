#include "MaskedEdit.h"

#include "InputRules.h"

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

QString MaskedEdit::ClipText() const
{
    // Still as loaded: not edited (or every edit undone) and not set to something else by the
    // program. Any editing key counts, even one that leaves the shown text as it was.
    if (m_keepStored && !isModified() && Text() == m_storedDisplay) {
        return m_storedText;
    }
    return MaskClipText(m_originalMask, Text());
}

void MaskedEdit::setStoredText(const QString& stored)
{
    m_keepStored = false;
    setText(MaskDisplayText(m_originalMask, stored));
    if (MaskClipText(m_originalMask, Text()) != stored) {
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
