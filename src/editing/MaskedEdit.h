#pragma once

#include <QLineEdit>

// A line edit with a mask written as the forms have always written them ("#####",
// "\(999\)\ ###\-####", "##/##"), or without a mask. It hands the program only what was entered
// (ClipText) and shows a stored value with its digits in the right positions (setStoredText).
//
// Every digit position accepts a digit or stays empty; "#" and "9" differ only in the original
// masks. What makes an entry complete (five zip digits, ten phone digits) is decided by the
// dialogs' validation of ClipText, not by the field, so that a loaded value with missing leading
// digits can be shown at all: a Qt mask with required positions packs such a value to the left.
// The field refuses digits other than 0-9 (superscripts, other scripts' digits), typed or pasted.
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
    // Shows a stored value: "5551234" as "(___) 555-1234", "503" as "_5/03". ClipText of an
    // untouched field then gives exactly the stored value. Put values in with this rather than
    // setText(), which knows nothing of the mask's positions.
    void setStoredText(const QString& stored);
    // The text as shown, with its literals and blanks.
    QString Text() const;

private:
    QString m_originalMask;
    QValidator* m_digitsValidator = nullptr;
    QString m_storedText;    // the loaded value, when the field cannot show it whole
    QString m_storedDisplay; // what the field showed right after loading it
    bool m_keepStored = false;
};
