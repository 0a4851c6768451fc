#include "FileCommands.h"

#include "General.h"
#include "Maintenance.h"
#include "Platform.h"
#include "Statements.h"
#include "TopMost.h"
#include "frm_Main.h"
#include "frm_Password.h"

#include <QAction>

FileCommands::FileCommands(frm_Main& main) : m_main(main) {}

FileCommands::~FileCommands() = default;

void FileCommands::reattach()
{
    m_main.wf_PersonalInformation(&m_main);
    if (const dao::Error error = m_main.wf_SetUpDataControls()) {
        ShowErrorText(error);
    }
}

void FileCommands::mnu_FileSetPassword_Click()
{
    if (!m_password) {
        m_password = std::make_unique<frm_Password>(&m_main);
        m_password->setResetDataControls([this] { m_main.wf_ResetDataControls(); });
    }
    {
        // The check mark mirrors the flag; this command has always read the mark.
        QAction* alwaysOnTop = m_main.menuItem("mnu_ViewAlwaysOnTop");
        tasks::TopMostBracket bracket(&m_main, alwaysOnTop && alwaysOnTop->isChecked());
        platform::ShowModal(m_password.get());
    }
    if (QAction* lock = m_main.menuItem("mnu_ViewLock")) {
        lock->setEnabled(!gstr_Password.isEmpty());
    }
    // The views were let go of only when the dialog went as far as changing the password;
    // attaching them again is harmless otherwise and keeps one way through.
    reattach();
}

void FileCommands::mnu_FileCompress_Click()
{
    if (platform::MsgBox(QStringLiteral("Are you sure you want to compress that datafile?"), platform::vbQuestionYesNo,
                         QStringLiteral("Corvanta")) != platform::vbYes) {
        return;
    }
    platform::BusyCursor busy;
    if (gdb_Data) {
        gdb_Data->Close();
        gdb_Data.reset();
    }
    m_main.wf_ResetDataControls();
    // Compacted beside the data file and swapped in by one rename, so that a complete data
    // file is under its own name whatever happens; on failure the file is as it was.
    const dao::Error compactError = maintenance::compactDataFile(gstr_DataFile, gstr_Password);
    const dao::Error openError =
        dao::DBEngine::OpenDatabase(gstr_DataFile, false, false, statements::compactConnect(gstr_Password), gdb_Data);
    if (compactError) {
        ShowErrorText(compactError);
    } else if (openError) {
        ShowErrorText(openError);
    }
    if (!openError) {
        reattach();
    }
}
