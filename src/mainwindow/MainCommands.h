#pragma once

#include "Categories.h"

#include <QString>

#include <functional>

class MainWindowInterface;
class QToolBar;
class QWidget;

// The commands of the main window's menus and toolbar that work on the records and open the
// dialogs and documents. Each runs to its end on the user-interface thread; a failure of the data
// engine is shown with its error text.
class MainCommands
{
public:
    // Opens the edit dialog of a record kind modally; the record id travels in and out as text.
    using EditDialog = std::function<bool(Category kind, QString& recordId, QWidget* parent)>;

    explicit MainCommands(MainWindowInterface& main);

    void mnu_EditCreateCredit_Click();
    void mnu_EditCreateTravel_Click();
    void mnu_EditCreateWeb_Click();
    void mnu_EditCurrent_Click();
    void mnu_EditDelete_Click();
    void mnu_EditPersonal_Click();
    void mnu_HelpAbout_Click();
    void mnu_HelpDOCFile_Click();
    void mnu_HelpReadme_Click();
    void mnu_HelpLicense_Click();

    // Runs the command of a toolbar button's key (exact, case-sensitive); other keys do nothing.
    void tb_ToolBar_ButtonClick(const QString& key);

    // The edit dialogs in use: the program's own; tests put a stand-in (none: the program's own).
    static void setEditDialog(EditDialog dialog);

private:
    void createRecord(Category category);
    bool showEditDialog(Category category, QString& recordId);
    void openDocument(const QString& fileName, const QString& missingMessage);

    MainWindowInterface& m_main;
};

// The twelve toolbar buttons (four of them separators) with their keys, tooltips and pictures.
void BuildToolbar(QToolBar* toolbar);
