#pragma once

#include "Categories.h"

#include <array>
#include <vector>

namespace Ui {
class frm_Main;
}
class DataControl;
class QFrame;
class QLineEdit;
class QPlainTextEdit;

// One field of the main window. A display field is one a person reads: it has a hover-help
// tracker, a help text that is also what a screen reader says, and gives the focus to its area's
// holder. A hidden field only holds a value for another field or a picture to show.
struct MainField
{
    QLineEdit* Ui::frm_Main::*control;
    const char* field;   // the record's field shown here; nullptr: shows another field's value formatted
    const char* tracker; // nullptr: a hidden field
    const char* help;
    bool helpWhenEmpty; // the four name fields say what they are even while empty
    bool secret;        // drawn with '*' while passwords are masked
    bool dragsExactly;  // a value one types into a sign-in form: dragged without a trailing blank
};

// An area of the main window: the personal frame at the top or a page of a record kind.
struct MainArea
{
    Category kind;
    DataControl* Ui::frm_Main::*view; // nullptr: the personal frame, filled once from its record
    QFrame* Ui::frm_Main::*focusHolder;
    QPlainTextEdit* Ui::frm_Main::*notes; // nullptr: no notes
    const char* notesName;
    std::vector<MainField> fields;
};

// The personal frame, then the pages in page order.
const std::array<MainArea, 4>& mainAreas();
const MainArea& mainArea(Category kind);
