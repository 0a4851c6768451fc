#pragma once

#include "Dao.h"
#include "Settings.h"
#include "TrayControl.h"

#include <QHash>
#include <QMainWindow>
#include <QString>

#include <array>
#include <functional>
#include <memory>

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
class frm_Main : public QMainWindow
{
    Q_OBJECT

public:
    explicit frm_Main(QWidget* parent = nullptr);
    ~frm_Main() override;

    // The record id exchanged with the edit dialogs: "0" for a new record, the saved record's id
    // afterwards.
    QString istr_RecordID;
    // The four flag texts, in the order Lock, ViewPasswords, SplashScreen, AlwaysOnTop.
    settings::Flags istr_Settings;
    bool ibool_MaskPasswords = true;

    // Fills the personal fields of the given window from the data file. False after a failure,
    // which has been reported; the fields keep what they showed.
    bool wf_PersonalInformation(QWidget* arfrm_CurrentForm);
    // Attaches the view of a category ("Credit", "Travel", "Web"; empty for all three) to the
    // open data file and shows its first record. Returns the first failure; the views after it
    // are still set up.
    [[nodiscard]] dao::Error wf_SetUpDataControls(const QString& arstr_Control = QString());
    // Lets the views of a category (empty for all three) go of the data file; they show nothing.
    void wf_ResetDataControls(const QString& arstr_Control = QString());
    void wf_ViewPasswords();

    // Locked means closed: the views and the data file are closed, every display field is
    // emptied and the password is forgotten; each page's record is remembered.
    void wf_LockData();
    void closeData();
    // Opens the data file again with what was typed and shows each page's record again. A
    // wrong password leaves everything closed; another failure is shown.
    TrayControl::Unlock wf_UnlockData(const dao::SecureBytes& password);

    // The pages, the views and the fields the commands work with.
    DataControl* dataControl(const QString& category) const;
    QLineEdit* idBox(const QString& category) const;
    QLineEdit* nameBox(const QString& category) const;
    // The category of the page in front; the page of a category.
    QString currentCategory() const;
    void showPage(const QString& category);
    QAction* menuItem(const char* name) const;
    MainCommands& commands() const { return *m_commands; }
    FileCommands& fileCommands() const { return *m_fileCommands; }
    DisplayFields& displayFields() const { return *m_displayFields; }
    // The notification-area icon with <Vanish> and the tray menu, and the hover help; both made
    // by the window's load.
    TrayControl& trayControl() const { return *m_tray; }
    HoverHelp& hoverHelp() const { return *m_hoverHelp; }
    // Locks when the screen saver starts, the session locks or the person has been idle.
    AwayLock& awayLock() const { return *m_awayLock; }
    // Find, the password report and copying with a time limit.
    RecordTools& recordTools() const { return *m_recordTools; }

    // Double click on a travel program's web account: shows that web account, or stays on the
    // travel program when there is none of that name.
    void sle_TravelWebAccount_DblClick();

    // The View menu.
    void mnu_ViewLock_Click();
    void mnu_ViewSplashScreen_Click();
    void mnu_ViewAlwaysOnTop_Click();
    void mnu_ViewPasswords_Click();
    void mnu_FileExit_Click();

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

    void sle_CreditCardType_Change();
    void sle_CreditExpirationDateData_Change();
    void sle_CreditPhoneNumberData_Change();
    void sle_PhoneNumber_Change();
    void sle_TravelPhoneNumber_Change();
    void sle_WebURL_Change();

    std::unique_ptr<Ui::frm_Main> ui;
    std::unique_ptr<MainCommands> m_commands;
    std::unique_ptr<FileCommands> m_fileCommands;
    DisplayFields* m_displayFields = nullptr;
    TrayControl* m_tray = nullptr;
    HoverHelp* m_hoverHelp = nullptr;
    AwayLock* m_awayLock = nullptr;
    RecordTools* m_recordTools = nullptr;
    bool m_unloaded = false;
    // The id each page showed when the program locked.
    QHash<QString, QString> m_lockedIds;
};
