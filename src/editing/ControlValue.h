#pragma once

#include <QString>

class QWidget;

// Which form of a masked field's entry is wanted; every other control has only one.
enum class Reading {
    Stored, // as the data file keeps it: "053_" for "05/3_"
    Entry,  // as the field's check reads it: digits only, "053"
    Shown,  // as the field shows it, with its literals and blanks: "05/3_"
};

// What a control holds: the text of a text box, of a combo box's edit portion or of a notes
// box, a masked field's entry in the form asked for, or, for any other control, the value kept in
// its "Tag" property (the card type of a frame). Saving a record, checking a field and telling
// whether a field was changed all read controls through this.
QString controlValue(const QWidget* control, Reading reading = Reading::Stored);
