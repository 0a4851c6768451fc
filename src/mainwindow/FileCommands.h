#pragma once

#include <memory>

class MainWindowInterface;
class frm_Password;

// The File menu's commands on the data file itself: a new password and compaction, which make
// the main window let go of the file first and attach it again afterwards; import and export of
// CSV files, and a backup copy.
class FileCommands
{
public:
    explicit FileCommands(MainWindowInterface& main);
    ~FileCommands();
    FileCommands(const FileCommands&) = delete;
    FileCommands& operator=(const FileCommands&) = delete;

    void mnu_FileSetPassword_Click();
    void mnu_FileCompress_Click();
    void mnu_FileImport_Click();
    void mnu_FileExport_Click();
    void mnu_FileBackUp_Click();

    // The change-password dialog, created on first use and kept (hidden) until the main window
    // goes; nullptr before.
    frm_Password* passwordDialog() const { return m_password.get(); }

private:
    void reattach();

    MainWindowInterface& m_main;
    std::unique_ptr<frm_Password> m_password;
};
