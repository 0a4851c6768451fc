#pragma once

#include <QLineEdit>

struct MaskEntry;

// A line edit with a mask in the forms' own notation ("#####",
// "\(999\)\ ###\-####", "##/##"), or without a mask. It hands the program what was entered
// (ClipText for the field's check, StoredText for the data file) and shows a stored value with
// its digits in the right positions (setStoredText).
//
// Every digit position accepts a digit or stays empty; "#" and "9" differ only in the original
// masks. What makes an entry complete (five zip digits, ten phone digits) is decided by the
// dialogs' validation of ClipText, not by the field, so that a loaded value with missing leading
// digits can be shown at all: a Qt mask with required positions packs such a value to the left.
// Typed and pasted text goes in by the rules of MaskType and MaskPaste: digits in order whatever
// separators come with them, only the digits 0-9, a paste that does not fit refused whole.
class MaskedEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit MaskedEdit(QWidget* parent = nullptr);

    // Sets the mask (empty for none) and clears the field. Set a length limit of a field without
    // a mask afterwards.
    void setOriginalMask(const QString& mask);
    QString originalMask() const { return m_originalMask; }

    // The characters entered, without literals and without empty positions: "55512" for area
    // code 555 and digits 12, "" for an untouched field. A loaded value the field could not show
    // whole (more digits than positions, other characters) is handed back unchanged while the
    // field is as loaded (untouched, or every edit undone), so that an untouched field never
    // loses stored data.
    QString ClipText() const;
    // What the data file keeps: as ClipText, except that an entry with an empty position after
    // a digit keeps its positions ("05/3_" gives "053_"), so that it loads again as typed.
    QString StoredText() const;
    // Shows a stored value: "5551234" as "(___) 555-1234", "503" as "_5/03", "053_" as "05/3_".
    // StoredText of an untouched field then gives exactly the stored value. Put values in with
    // this rather than setText(), which knows nothing of the mask's positions.
    void setStoredText(const QString& stored);
    // The text as shown, with its literals and blanks.
    QString Text() const;

    // Pastes text as the paste key would.
    void pasteText(const QString& text);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void typeText(const QString& text);
    // Brings the field to the entry's text through the line edit's own editing, so that undo and
    // the modified flag follow.
    void enter(const MaskEntry& entry);
    bool keptAsLoaded() const;

    QString m_originalMask;
    QValidator* m_digitsValidator = nullptr;
    QString m_storedText;    // the loaded value, when the field cannot show it whole
    QString m_storedDisplay; // what the field showed right after loading it
    bool m_keepStored = false;
};
