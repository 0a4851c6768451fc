#include "InputRules.h"

#include <QList>

#include <algorithm>
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

enum class Accepts { Everything, Printable, MixedText, LettersOnly, DigitsOnly };

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
    if (mode == QLatin1String("Printable")) {
        return {Accepts::Printable, false};
    }
    return {Accepts::Everything, false};
}

bool isControlCharacter(char32_t c)
{
    return QChar::category(c) == QChar::Other_Control || c == 0x2028 || c == 0x2029;
}

bool accepted(Accepts accepts, int code)
{
    switch (accepts) {
    case Accepts::Everything:
        return true;
    case Accepts::Printable:
        // A character outside the page is judged by FilterText, which sees it whole.
        return code == kNotAnsi || (code > 0 && code < kNotAnsi && !isControlCharacter(AnsiChar(code).unicode()));
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

bool isSurrogatePair(const QString& text, qsizetype i)
{
    return text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
}

struct ParsedMask
{
    QList<MaskPosition> positions;
    QList<qsizetype> digitPlaces; // indexes of the digit positions, in order
    qsizetype required = 0;       // digit positions that must be filled ("#")
    bool telephone = false;
};

ParsedMask parse(const QString& originalMask)
{
    ParsedMask parsed;
    parsed.positions = parseMask(originalMask);
    for (qsizetype i = 0; i < parsed.positions.size(); ++i) {
        if (!parsed.positions.at(i).literal) {
            parsed.digitPlaces.append(i);
            parsed.required += parsed.positions.at(i).character == u'#' ? 1 : 0;
        }
    }
    parsed.telephone = originalMask == masks::PhoneNumber;
    return parsed;
}

// The separators people write between the digits of a number, and the mask's own literals:
// passed over in a masked field.
bool isSeparator(const ParsedMask& mask, QChar c)
{
    return QStringView(u" ()-./+").contains(c) ||
           std::any_of(mask.positions.begin(), mask.positions.end(),
                       [c](const MaskPosition& position) { return position.literal && position.character == c; });
}

// The field's text with every position in place: literals as the mask has them, a digit position
// keeps a digit and is blank otherwise.
QString normalised(const ParsedMask& mask, const QString& shown)
{
    QString text;
    for (qsizetype i = 0; i < mask.positions.size(); ++i) {
        const MaskPosition& position = mask.positions.at(i);
        if (position.literal) {
            text += position.character;
        } else {
            text += i < shown.size() && isAsciiDigit(shown.at(i)) ? shown.at(i) : kMaskBlank;
        }
    }
    return text;
}

QString digitsOf(const ParsedMask& mask, const QString& text)
{
    QString digits;
    for (qsizetype place : mask.digitPlaces) {
        if (isAsciiDigit(text.at(place))) {
            digits += text.at(place);
        }
    }
    return digits;
}

// Puts the digits into the last digit positions, the others blank.
QString placedFromEnd(const ParsedMask& mask, QString digits)
{
    QString text = normalised(mask, QString());
    digits = digits.right(mask.digitPlaces.size());
    const qsizetype first = mask.digitPlaces.size() - digits.size();
    for (qsizetype i = 0; i < digits.size(); ++i) {
        text[mask.digitPlaces.at(first + i)] = digits.at(i);
    }
    return text;
}

qsizetype nextDigitPlace(const ParsedMask& mask, qsizetype from)
{
    for (qsizetype place : mask.digitPlaces) {
        if (place >= from) {
            return place;
        }
    }
    return -1;
}

qsizetype pastLiterals(const ParsedMask& mask, qsizetype from)
{
    while (from < mask.positions.size() && mask.positions.at(from).literal) {
        ++from;
    }
    return from;
}

void typeDigit(const ParsedMask& mask, MaskEntry& entry, QChar digit)
{
    const qsizetype place = nextDigitPlace(mask, entry.cursor);
    if (place >= 0) {
        entry.shown[place] = digit;
        entry.cursor = pastLiterals(mask, place + 1);
        return;
    }
    // Ten digits already there and one more typed after them: the first was the country code.
    const QString digits = digitsOf(mask, entry.shown);
    if (mask.telephone && digits.size() == mask.digitPlaces.size() && digits.startsWith(u'1')) {
        entry.shown = placedFromEnd(mask, digits.mid(1) + digit);
        entry.cursor = entry.shown.size();
        return;
    }
    ++entry.unplaced;
}

// A separator typed as the literal that follows the current group of digits ends that group: the
// digits typed into it move to its end ("5/" in a month group gives "_5/").
void typeSeparator(const ParsedMask& mask, MaskEntry& entry, QChar separator)
{
    qsizetype literal = entry.cursor;
    while (literal < mask.positions.size() && !mask.positions.at(literal).literal) {
        ++literal;
    }
    if (literal >= mask.positions.size() || mask.positions.at(literal).character != separator) {
        return;
    }
    qsizetype groupStart = literal;
    while (groupStart > 0 && !mask.positions.at(groupStart - 1).literal) {
        --groupStart;
    }
    // A separator typed before any digit of the group it ends does not skip the group.
    if (entry.cursor == groupStart && entry.cursor != literal) {
        return;
    }
    if (entry.cursor > groupStart) {
        QString digits;
        for (qsizetype i = groupStart; i < literal; ++i) {
            if (isAsciiDigit(entry.shown.at(i))) {
                digits += entry.shown.at(i);
            }
            entry.shown[i] = kMaskBlank;
        }
        for (qsizetype i = 0; i < digits.size(); ++i) {
            entry.shown[literal - digits.size() + i] = digits.at(i);
        }
    }
    entry.cursor = pastLiterals(mask, literal);
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

QString FilterText(const QString& mode, const QString& text, qsizetype* refused)
{
    const Accepts accepts = ruleFor(mode).accepts;
    const bool printable = accepts == Accepts::Printable;
    qsizetype dropped = 0;
    QString received;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isSurrogatePair(text, i)) {
            // One character in two halves (an emoji, a rare letter): in whole or not at all.
            if (printable || accepts == Accepts::Everything) {
                received += text.mid(i, 2);
            } else {
                ++dropped;
            }
            ++i;
            continue;
        }
        if (printable && isControlCharacter(c.unicode())) {
            ++dropped;
            continue;
        }
        int code = AnsiCode(c);
        FilterKeyAscii(mode, code);
        if (code == 0) {
            ++dropped;
            continue;
        }
        received += code == kNotAnsi ? c : AnsiChar(code);
    }
    if (refused != nullptr) {
        *refused = dropped;
    }
    return received;
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

QString MaskStoredText(const QString& originalMask, const QString& displayText)
{
    if (originalMask.isEmpty()) {
        return displayText;
    }
    const ParsedMask mask = parse(originalMask);
    const QString text = normalised(mask, displayText);
    QString positional;
    bool blankAfterDigit = false;
    for (qsizetype place : mask.digitPlaces) {
        const bool blank = text.at(place) == kMaskBlank;
        blankAfterDigit = blankAfterDigit || (blank && positional.size() > positional.count(kMaskBlank));
        positional += text.at(place);
    }
    return blankAfterDigit ? positional : digitsOf(mask, text);
}

QString MaskDisplayText(const QString& originalMask, const QString& stored)
{
    if (originalMask.isEmpty()) {
        return stored;
    }
    const ParsedMask mask = parse(originalMask);
    const bool positional =
        stored.size() == mask.digitPlaces.size() && stored.contains(kMaskBlank) &&
        std::all_of(stored.begin(), stored.end(), [](QChar c) { return isAsciiDigit(c) || c == kMaskBlank; });
    if (positional) {
        QString shown = normalised(mask, QString());
        for (qsizetype i = 0; i < stored.size(); ++i) {
            shown[mask.digitPlaces.at(i)] = stored.at(i);
        }
        return shown;
    }
    const QList<MaskPosition>& positions = mask.positions;
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

MaskEntry MaskType(const QString& originalMask, const QString& shown, qsizetype selectionStart,
                   qsizetype selectionLength, const QString& text)
{
    const ParsedMask mask = parse(originalMask);
    MaskEntry entry;
    entry.shown = normalised(mask, shown);
    entry.cursor = std::clamp<qsizetype>(selectionStart, 0, entry.shown.size());
    for (qsizetype i = entry.cursor; i < entry.cursor + selectionLength && i < entry.shown.size(); ++i) {
        if (!mask.positions.at(i).literal) {
            entry.shown[i] = kMaskBlank;
        }
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isAsciiDigit(c)) {
            typeDigit(mask, entry, c);
        } else if (isSeparator(mask, c)) {
            typeSeparator(mask, entry, c);
        } else {
            ++entry.refused;
            i += isSurrogatePair(text, i) ? 1 : 0;
        }
    }
    return entry;
}

MaskEntry MaskPaste(const QString& originalMask, const QString& shown, qsizetype selectionStart,
                    qsizetype selectionLength, const QString& text)
{
    const ParsedMask mask = parse(originalMask);
    QString digits;
    for (QChar c : text) {
        if (isAsciiDigit(c)) {
            digits += c;
        }
    }
    if (mask.telephone && digits.size() == mask.digitPlaces.size() + 1 && digits.startsWith(u'1')) {
        digits.remove(0, 1);
    }
    const bool whole =
        !digits.isEmpty() && (digits.size() == mask.digitPlaces.size() ||
                              (digits.size() == mask.required && mask.required < mask.digitPlaces.size()));
    if (!whole) {
        return MaskType(originalMask, shown, selectionStart, selectionLength, text);
    }
    MaskEntry entry;
    entry.shown = placedFromEnd(mask, digits);
    entry.cursor = entry.shown.size();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isAsciiDigit(text.at(i)) && !isSeparator(mask, text.at(i))) {
            ++entry.refused;
            i += isSurrogatePair(text, i) ? 1 : 0;
        }
    }
    return entry;
}
