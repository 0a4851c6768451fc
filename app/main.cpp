// Corvanta: keeps one person's account details in one password-protected data file.

#include "Main.h"

#include "General.h"
#include "SecureMemory.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvanta"));
    QApplication::setOrganizationName(QStringLiteral("Corvanta"));
    if (!dao::initializeCrypto()) {
        QMessageBox::critical(nullptr, QStringLiteral("Corvanta Error"),
                              QStringLiteral("The encryption library could not be started."));
        return 1;
    }

    QLabel* mainWindow = nullptr;
    StartupWindows windows;
    windows.mainWindow = [&mainWindow] {
        mainWindow =
            new QLabel(QStringLiteral("The data file %1 is open.").arg(gdb_Data ? gdb_Data->Name() : QString()));
        mainWindow->setWindowTitle(QStringLiteral(" Corvanta"));
        mainWindow->setAttribute(Qt::WA_DeleteOnClose);
        mainWindow->setMargin(24);
        mainWindow->show();
    };
    if (Main(windows) == StartupResult::Ended) {
        gdb_Data.reset();
        return 0;
    }
    const int rc = QApplication::exec();
    gdb_Data.reset();
    return rc;
}
