#pragma once

#include "Categories.h"
#include "Dao.h"
#include "MainWindowInterface.h"
#include "Settings.h"
#include "TrayControl.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace Ui {
class frm_Main;
}
class DataControl;
class DisplayFields;
class HoverHelp;
class MainCommands;
class FileCommands;
class QLineEdit;
class QAction;
class AwayLock;
class RecordTools;

// The program's one long-lived window: the personal record at the top, the three lists of
// records on the pages of a tab control below, menus and a toolbar with the commands. Every field
// is a display; records change only through the edit dialogs the commands open. Closing the
// window ends the program.
class frm_Main : public QMainWindow, public MainWindowInterface
{
    Q_OBJECT

public:
    explicit frm_Main(QWidget* parent = nullptr);
    ~frm_Main() override;

    // Fills the personal frame from the data file. False after a failure, which has been
    // reported; the fields keep what they showed.
    bool wf_PersonalInformation() override;
    // Attaches the view of a listed kind (none: all three) to the open data file and shows its
    // first record. Returns the first failure; the views after it are still set up.
    dao::Error wf_SetUpDataControls(std::optional<Category> only = std::nullopt) override;
    // Lets the views of a kind (none: all three) go of the data file; they show nothing.
    void wf_ResetDataControls(std::optional<Category> only = std::nullopt) override;

    // Locked means closed: the views and the data file are closed, every display field is
    // emptied and the password is forgotten; each page's record is remembered.
    void wf_LockData();
    // Opens the data file again with what was typed and shows each page's record again. A
    // wrong password leaves everything closed; another failure is shown.
    TrayControl::Unlock wf_UnlockData(const dao::SecureBytes& password);

    // What the commands and record tools work with.
    QWidget* widget() override { return this; }
    QString recordId() const override { return istr_RecordID; }
    void setRecordId(const QString& id) override { istr_RecordID = id; }
    DataControl* dataControl(Category category) const override;
    QLineEdit* idBox(Category category) const override;
    QLineEdit* nameBox(Category category) const override;
    std::optional<Category> currentCategory() const override;
    void showPage(Category category) override;
    QAction* menuItem(const char* name) const override;
    tasks::TopMostBracket modalBracket() override;
    DisplayFields& displayFields() const override { return *m_displayFields; }
    FileCommands& fileCommands() const { return *m_fileCommands; }
    // The notification-area icon with <Vanish> and the tray menu, made by the window's load.
    TrayControl& trayControl() const { return *m_tray; }

    // How the program ends once the window has unloaded; tests watch instead of quitting.
    static void setEndProgram(std::function<void()> end);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    void connectMenus();
    void bindFields();
    void setUpDisplayFields();
    void nameMenuSeparators();
    // Names for screen readers and the keys of the pages' navigation bars.
    void wf_SetUpAccessibility();
    void wf_ViewPasswords();
    // Detaches the three views, forgets the password they keep and closes the data file.
    void closeData();

    // Double click on a travel program's web account: shows that web account, or stays on the
    // travel program when there is none of that name.
    void sle_TravelWebAccount_DblClick();

    // The View menu.
    void mnu_ViewLock_Click();
    void mnu_ViewSplashScreen_Click();
    void mnu_ViewAlwaysOnTop_Click();
    void mnu_ViewPasswords_Click();
    void mnu_FileExit_Click();

    void sle_CreditCardType_Change();
    void sle_CreditExpirationDateData_Change();
    void sle_CreditPhoneNumberData_Change();
    void sle_PhoneNumber_Change();
    void sle_TravelPhoneNumber_Change();
    void sle_WebURL_Change();

    std::unique_ptr<Ui::frm_Main> ui;
    // The record id exchanged with the edit dialogs: "0" for a new record, the saved record's id
    // afterwards.
    QString istr_RecordID;
    // The four flag texts, in the order Lock, ViewPasswords, SplashScreen, AlwaysOnTop; written
    // to the settings when the window unloads.
    settings::Flags istr_Settings;
    bool ibool_MaskPasswords = true;
    std::unique_ptr<MainCommands> m_commands;
    std::unique_ptr<FileCommands> m_fileCommands;
    DisplayFields* m_displayFields = nullptr;
    TrayControl* m_tray = nullptr;
    HoverHelp* m_hoverHelp = nullptr;
    // Locks when the screen saver starts, the session locks or the person has been idle.
    AwayLock* m_awayLock = nullptr;
    // Find, the password report and copying with a time limit.
    RecordTools* m_recordTools = nullptr;
    bool m_unloaded = false;
    // The id each page showed when the program locked.
    std::map<Category, QString> m_lockedIds;
};
