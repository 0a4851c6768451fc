#pragma once

#include "Categories.h"
#include "Dao.h"
#include "TopMost.h"

#include <QString>

#include <optional>

class DataControl;
class DisplayFields;
class QAction;
class QLineEdit;
class QWidget;

// What the main window's commands and record tools may ask of the window: its pages and their
// views, the record id it exchanges with the edit dialogs, attaching the views again, and the
// window-order bracket around a modal dialog. The window's own state stays its own.
class MainWindowInterface
{
public:
    // The window itself, as the parent of the dialogs and documents the commands open.
    virtual QWidget* widget() = 0;

    // The record id exchanged with the edit dialogs: "0" for a new record, the saved record's id
    // afterwards.
    virtual QString recordId() const = 0;
    virtual void setRecordId(const QString& id) = 0;

    // The kind of the page in front (none: no page of a listed kind); brings a kind's page to
    // the front.
    virtual std::optional<Category> currentCategory() const = 0;
    virtual void showPage(Category category) = 0;
    // A page's view of the data file and the fields that show its record's id and name.
    virtual DataControl* dataControl(Category category) const = 0;
    virtual QLineEdit* idBox(Category category) const = 0;
    virtual QLineEdit* nameBox(Category category) const = 0;
    virtual DisplayFields& displayFields() const = 0;
    // A menu item of the window by its object name; nullptr when there is none.
    virtual QAction* menuItem(const char* name) const = 0;

    // Fills the personal frame from the data file; false after a failure, which has been shown.
    virtual bool wf_PersonalInformation() = 0;
    // Attaches the views of a kind (none: all three) to the open data file; the first failure.
    virtual dao::Error wf_SetUpDataControls(std::optional<Category> only) = 0;
    // Lets the views of a kind (none: all three) go of the data file.
    virtual void wf_ResetDataControls(std::optional<Category> only) = 0;

    // Takes the window out of the top-most band while a modal dialog is up, when it is kept
    // there, so that the dialog is never covered.
    [[nodiscard]] virtual tasks::TopMostBracket modalBracket() = 0;

protected:
    ~MainWindowInterface() = default;
};
