#pragma once

#include <QChar>
#include <QString>

// The rules behind what may be typed into the edit dialogs' fields and what their masked fields
// hand to the rest of the program. Pure functions: no widgets, no message boxes, no sound.

// ---- Keystroke filter ----------------------------------------------------------------------

// Filters one typed character, given as its ANSI code, for a field of the given mode ("Mix",
// "MixUpperCase", "Letters", "UpperCase", "Number", "Printable"; any other text accepts everything).
// "Printable" takes every character but the control characters: the mode of the boxes that hold a
// secret or an identifier chosen elsewhere (logins, passwords, e-mail and web addresses, names).
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

// The text as a field of the mode receives it, typed or pasted: each character passes the filter
// on its own, a refused one is dropped (*refused counts them) and the rest go in, upper-cased in
// the two upper-case modes. In "Printable" every character outside the ANSI page (other scripts,
// emoji) passes as well; the other filtering modes refuse them.
QString FilterText(const QString& mode, const QString& text, qsizetype* refused = nullptr);

// ---- Field validation ----------------------------------------------------------------------

// The refusal message for a field's entry of the given kind ("Zip Code", "Phone Number", "Name"),
// or an empty text when the entry is accepted. Kinds without a rule ("City", "State", ...) accept
// everything. Lengths count the characters as passed; nothing is trimmed.
QString ValidateEntry(const QString& kind, const QString& value);

// ---- Masked fields -------------------------------------------------------------------------
//
// Masks are written in the forms' own notation: "#" a digit, "9" a digit that may
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
// digit positions, in order. This is what the field's check counts. Without a mask the text itself.
QString MaskClipText(const QString& originalMask, const QString& displayText);

// What a masked field showing displayText stores. When the empty positions are all in front (an
// area code left empty, a one-digit month), the digits alone, as the data file holds
// them: "(___) 555-1234" stores "5551234", "_5/03" stores "503". An entry with an empty position
// after a digit keeps its positions, "_" for each empty one: "05/3_" stores "053_", so that it
// shows again as it was typed rather than moved to the right. Without a mask the text itself.
QString MaskStoredText(const QString& originalMask, const QString& displayText);

// What a masked field shows for a stored value. A value of as many characters as the mask has
// digit positions, digits and "_" only, is shown in its positions ("053_" as "05/3_"). Any other
// value has its digits placed in the last digit positions, so that missing leading digits stay
// blank: "5551234" shows as "(___) 555-1234", "503" as "_5/03"; a value with more digits than
// the mask has positions shows its first digits, and characters other than digits are not shown.
// For every value MaskStoredText gives, and every value made of digits that fits, MaskStoredText
// of the result gives the value back. Without a mask the value itself.
QString MaskDisplayText(const QString& originalMask, const QString& stored);

// Text typed or pasted into a masked field, and what the field shows afterwards.
struct MaskEntry
{
    QString shown;          // the field's text, with literals and blanks
    qsizetype cursor = 0;   // where the cursor goes
    qsizetype refused = 0;  // characters refused (letters and other signs that are no separator)
    qsizetype unplaced = 0; // digits for which no position was left
};

// Types text into a masked field showing `shown`, replacing the selection (its positions become
// empty first). Each digit goes into the next digit position, overwriting what is there; the
// separators people write between digits (blank, ( ) - . / + and the mask's own literals) are
// passed over, so "800-555-1234", "(800) 555-1234" and "800.555.1234" all fill the telephone
// field in order. A separator typed as the literal that ends the current group of digits closes
// that group, its digits moved to the group's end: "5/03" into "##/##" shows "_5/03". In the
// telephone field a digit typed into a full number that begins with the country code 1 drops
// that 1, so "+1 800 555 1234" shows "(800) 555-1234". Other characters are refused.
MaskEntry MaskType(const QString& originalMask, const QString& shown, qsizetype selectionStart,
                   qsizetype selectionLength, const QString& text);

// Pastes text into a masked field. A whole value (as many digits as the field has positions, or
// as its positions that must be filled: a telephone number without its area code; a telephone
// number with the country code 1 in front) replaces the field's entry, from the end. Anything
// else goes in as if typed; when some of its digits find no position, unplaced says how many and
// the caller refuses the paste as a whole.
MaskEntry MaskPaste(const QString& originalMask, const QString& shown, qsizetype selectionStart,
                    qsizetype selectionLength, const QString& text);
