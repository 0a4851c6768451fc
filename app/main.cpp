// Corvanta: keeps one person's account details in one password-protected data file.

#include "Main.h"

#include "EditDialogs.h"
#include "General.h"
#include "SecureMemory.h"
#include "frm_Main.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv)
{
    HardenProcess();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvanta"));
    QApplication::setOrganizationName(QStringLiteral("Corvanta"));
    // Ties the windows to the installed launcher entry, whose icon the desktop then shows.
    QApplication::setDesktopFileName(QStringLiteral("org.example.Corvanta"));
    if (!dao::initializeCrypto()) {
        QMessageBox::critical(nullptr, QStringLiteral("Corvanta Error"),
                              QStringLiteral("The encryption library could not be started."));
        return 1;
    }

    std::unique_ptr<frm_Main> mainWindow;
    StartupWindows windows;
    windows.personalInformation = [] {
        QString noId = QStringLiteral("0");
        ShowEditDialog(Category::Personal, noId);
    };
    windows.mainWindow = [&mainWindow] {
        mainWindow = std::make_unique<frm_Main>();
        mainWindow->show();
    };
    if (Main(windows) == StartupResult::Ended) {
        gdb_Data.reset();
        return 0;
    }
    const int rc = QApplication::exec();
    mainWindow.reset();
    gdb_Data.reset();
    return rc;
}
