#include "InputRules.h"

#include <QList>

#include <array>

namespace {

constexpr int kBackspace = 8;

bool isDigitCode(int code)
{
    return code >= '0' && code <= '9';
}

bool isLetterCode(int code)
{
    return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z');
}

// The four punctuation marks a name or an address needs.
bool isNamePunctuationCode(int code)
{
    return code == ' ' || code == '.' || code == '-' || code == '\'';
}

enum class Accepts { Everything, MixedText, LettersOnly, DigitsOnly };

struct ModeRule
{
    Accepts accepts;
    bool upperCase;
};

ModeRule ruleFor(const QString& mode)
{
    if (mode == QLatin1String("Mix")) {
        return {Accepts::MixedText, false};
    }
    if (mode == QLatin1String("MixUpperCase")) {
        return {Accepts::MixedText, true};
    }
    if (mode == QLatin1String("Letters")) {
        return {Accepts::LettersOnly, false};
    }
    if (mode == QLatin1String("UpperCase")) {
        return {Accepts::LettersOnly, true};
    }
    if (mode == QLatin1String("Number")) {
        return {Accepts::DigitsOnly, false};
    }
    return {Accepts::Everything, false};
}

bool accepted(Accepts accepts, int code)
{
    switch (accepts) {
    case Accepts::Everything:
        return true;
    case Accepts::MixedText:
        return isDigitCode(code) || isLetterCode(code) || isNamePunctuationCode(code);
    case Accepts::LettersOnly:
        return isLetterCode(code) || isNamePunctuationCode(code);
    case Accepts::DigitsOnly:
        return isDigitCode(code);
    }
    return false;
}

// Windows-1252 codes 0x80-0x9F; the rest of the page is Latin-1. The five codes Windows-1252
// leaves undefined map to the control characters of the same number, as Windows itself does.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// One position of a parsed mask: a literal shown as it is, or a place for one digit.
struct MaskPosition
{
    bool literal;
    QChar character; // the literal, or '#' / '9' for a digit position
};

QList<MaskPosition> parseMask(const QString& mask)
{
    QList<MaskPosition> positions;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask.at(i);
        if (c == u'\\' && i + 1 < mask.size()) {
            positions.append({true, mask.at(++i)});
        } else if (c == u'#' || c == u'9') {
            positions.append({false, c});
        } else {
            positions.append({true, c});
        }
    }
    return positions;
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

void FilterKeyAscii(const QString& mode, int& keyAscii, bool* beep)
{
    if (beep != nullptr) {
        *beep = false;
    }
    if (keyAscii == kBackspace || keyAscii == 0) {
        return;
    }
    const ModeRule rule = ruleFor(mode);
    if (!accepted(rule.accepts, keyAscii)) {
        keyAscii = 0;
        if (beep != nullptr) {
            *beep = true;
        }
        return;
    }
    // Only plain ASCII letters get this far in the two upper-case modes.
    if (rule.upperCase && keyAscii >= 'a' && keyAscii <= 'z') {
        keyAscii -= 'a' - 'A';
    }
}

int AnsiCode(QChar character)
{
    const char16_t u = character.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        return u;
    }
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] == u) {
            return 0x80 + static_cast<int>(i);
        }
    }
    return kNotAnsi;
}

QChar AnsiChar(int code)
{
    if (code <= 0 || code > 0xFF) {
        return {};
    }
    if (code >= 0x80 && code < 0xA0) {
        return QChar(kCp1252High[static_cast<std::size_t>(code - 0x80)]);
    }
    return QChar(static_cast<char16_t>(code));
}

QString ValidateEntry(const QString& kind, const QString& value)
{
    const qsizetype length = value.size();
    if (kind == QLatin1String("Zip Code")) {
        if (length != 0 && length < 5) {
            return QStringLiteral("Please enter a five digit zip code.");
        }
    } else if (kind == QLatin1String("Phone Number")) {
        if (length != 0 && length < 10) {
            return QStringLiteral("Please enter a ten digit phone number.");
        }
    } else if (kind == QLatin1String("Name")) {
        if (length == 0) {
            return QStringLiteral("Please enter a name.");
        }
    }
    return {};
}

QString QtInputMask(const QString& originalMask, MaskPositions positions)
{
    if (originalMask.isEmpty()) {
        return {};
    }
    QString qtMask;
    for (const MaskPosition& position : parseMask(originalMask)) {
        if (position.literal) {
            // Qt takes any escaped character as a literal; escaping them all keeps letters that are
            // mask characters to Qt (A, N, X, ...) literal.
            qtMask += u'\\';
            qtMask += position.character;
        } else if (position.character == u'#' && positions == MaskPositions::AsWritten) {
            qtMask += u'9';
        } else {
            qtMask += u'0';
        }
    }
    qtMask += u';';
    qtMask += kMaskBlank;
    return qtMask;
}

QString MaskClipText(const QString& originalMask, const QString& displayText)
{
    if (originalMask.isEmpty()) {
        return displayText;
    }
    const QList<MaskPosition> positions = parseMask(originalMask);
    QString entered;
    for (qsizetype i = 0; i < positions.size() && i < displayText.size(); ++i) {
        if (!positions.at(i).literal && displayText.at(i) != kMaskBlank) {
            entered += displayText.at(i);
        }
    }
    return entered;
}

QString MaskDisplayText(const QString& originalMask, const QString& stored)
{
    if (originalMask.isEmpty()) {
        return stored;
    }
    const QList<MaskPosition> positions = parseMask(originalMask);
    qsizetype digitPlaces = 0;
    for (const MaskPosition& position : positions) {
        digitPlaces += position.literal ? 0 : 1;
    }
    QString digits;
    for (QChar c : stored) {
        if (isAsciiDigit(c) && digits.size() < digitPlaces) {
            digits += c;
        }
    }
    // The stored value carries no positions, only its digits in order: the missing ones are the
    // leading ones.
    qsizetype blanksFirst = digitPlaces - digits.size();
    qsizetype next = 0;
    QString shown;
    for (const MaskPosition& position : positions) {
        if (position.literal) {
            shown += position.character;
        } else if (blanksFirst > 0) {
            shown += kMaskBlank;
            --blanksFirst;
        } else {
            shown += digits.at(next++);
        }
    }
    return shown;
}
