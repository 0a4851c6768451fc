#pragma once

#include <QChar>
#include <QString>

// The rules behind what may be typed into the edit dialogs' fields and what their masked fields
// hand to the rest of the program. Pure functions: no widgets, no message boxes, no sound.

// ---- Keystroke filter ----------------------------------------------------------------------

// Filters one typed character, given as its ANSI code, for a field of the given mode ("Mix",
// "MixUpperCase", "Letters", "UpperCase", "Number"; any other text accepts everything).
// A refused code is set to 0 and *beep (when given) is set to true; an accepted one is left alone,
// or upper-cased in the two upper-case modes. Backspace (8) always passes untouched, and so does
// a code that is already 0 (nothing left to filter). Control codes and codes above 127 are
// refused by every one of the five modes.
void FilterKeyAscii(const QString& mode, int& keyAscii, bool* beep = nullptr);

// The code AnsiCode gives a character that Windows-1252 cannot write. Above 127, so every
// filtering mode refuses it.
constexpr int kNotAnsi = 0x100;

// The Windows-1252 code (0-255) of a character, or kNotAnsi.
int AnsiCode(QChar character);
// The character of a Windows-1252 code; a null QChar for codes outside 1-255.
QChar AnsiChar(int code);

// ---- Field validation ----------------------------------------------------------------------

// The refusal message for a field's entry of the given kind ("Zip Code", "Phone Number", "Name"),
// or an empty text when the entry is accepted. Kinds without a rule ("City", "State", ...) accept
// everything. Lengths count the characters as passed; nothing is trimmed.
QString ValidateEntry(const QString& kind, const QString& value);

// ---- Masked fields -------------------------------------------------------------------------
//
// Masks are written as the forms have always written them: "#" a digit, "9" a digit that may
// stay empty, "\x" the literal character x; any other character is a literal shown in the field.
// A masked field hands the program only what was entered: the characters in its digit positions,
// without the literals and without empty positions.

namespace masks {
inline const QString ZipCode = QStringLiteral("#####");
inline const QString PhoneNumber = QStringLiteral("\\(999\\)\\ ###\\-####");
inline const QString ExpirationDate = QStringLiteral("##/##");
// The PIN field takes any characters up to its length limit.
inline const QString Pin;
} // namespace masks

// The character shown in an empty position.
constexpr QChar kMaskBlank = u'_';

enum class MaskPositions {
    AsWritten,   // "#" becomes a required digit, "9" an optional one
    AllOptional, // every digit position may stay empty
};

// The Qt input mask (with "_" as its blank character) for an original mask. Qt's mask letters
// mean the opposite of the original ones: the original "#" is Qt's "9", the original "9" is
// Qt's "0". An empty mask gives an empty text (no input mask).
QString QtInputMask(const QString& originalMask, MaskPositions positions = MaskPositions::AsWritten);

// The characters entered in a masked field showing displayText: the non-blank characters of its
// digit positions, in order. Without a mask the text itself.
QString MaskClipText(const QString& originalMask, const QString& displayText);

// What a masked field shows for a stored value: its digits placed in the last digit positions,
// so that missing leading digits (an area code left empty, a one-digit month) stay blank:
// "5551234" shows as "(___) 555-1234", "503" as "_5/03". A value with more digits than the mask
// has positions shows its first digits; characters other than digits are not shown. For every
// value that is made of digits and fits, MaskClipText of the result gives the value back.
// Without a mask the value itself.
QString MaskDisplayText(const QString& originalMask, const QString& stored);
