#include "Main.h"

#include "DataFileLocation.h"
#include "Desktop.h"
#include "FileFormat.h"
#include "General.h"
#include "Maintenance.h"
#include "PasswordPrompt.h"
#include "Platform.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "Statements.h"
#include "Version.h"
#include "frm_Splash.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <sys/prctl.h>
#include <sys/resource.h>

#include <memory>

namespace {

// The password travels beside the connect text, which cannot carry every typed password.
// A key derivation takes about half a second: it runs on a thread of its own while the windows
// keep painting under the busy pointer; input waits until it is done.
void deriveAside(const std::function<void()>& task)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        task();
        return;
    }
    QEventLoop loop;
    std::unique_ptr<QThread> worker(QThread::create(task));
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
}

dao::Error openDataFile()
{
    return dao::DBEngine::OpenDatabase(gstr_DataFile, false, false, gstr_Connect, gdb_Data, gstr_Password);
}

} // namespace

void HardenProcess()
{
    // Also keeps the heap's own free in the program.
    (void)HeapWipedOnFree();
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
#if !defined(__SANITIZE_ADDRESS__)
    // Not dumpable: no core, no ptrace attach, /proc/<pid>/mem closed to the user's other
    // processes. The leak checker of a sanitizer build attaches to this process itself.
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}

StartupResult Main(const StartupWindows& windows)
{
    dao::format::setDerivationRunner(deriveAside);
    platform::BusyCursor pointer;
    gstr_Version = QStringLiteral("Version %1.%2").arg(CORVANTA_VERSION_MAJOR).arg(CORVANTA_VERSION_MINOR);

    if (platform::PrevInstance()) {
        platform::ShowMessage(QStringLiteral("Corvanta is already running."), platform::MessageKind::Information,
                              QStringLiteral("Corvanta Error"));
        return StartupResult::Ended;
    }

    const QString splashSetting = settings::ReadSplashScreen();
    const bool withSplash = splashSetting == QLatin1String("1");
    std::unique_ptr<frm_Splash> splash;
    if (withSplash) {
        splash = std::make_unique<frm_Splash>();
        splash->showAndPaint();
    }
    auto unloadSplash = [&] {
        if (splash) {
            splash->unload();
            splash.reset();
        }
    };

    gstr_Connect = statements::connectFirst();
    const datafile::Location location = datafile::Locate();
    gstr_DataFile = location.path;

    // A compaction stopped half-way leaves the data under the companion's name.
    maintenance::recoverInterruptedCompaction(gstr_DataFile);
    dao::Error error = openDataFile();
    const bool hadPassword = error.number() == dao::err::InvalidPassword;
    if (error.number() == dao::err::FileNotFound) {
        splash.reset(); // ends at once, without waiting for the splash
        platform::ShowMessage(QStringLiteral("The Corvanta data file cannot be found. ") +
                                  QStringLiteral("Please check the application directory.\n") +
                                  datafile::PlacesLookedText(location.placesLooked),
                              platform::MessageKind::Stop, QStringLiteral("Corvanta Error"));
        return StartupResult::Ended;
    }
    if (hadPassword) {
        // Asks until the file opens or the user gives up; every attempt gets a fresh dialog.
        for (;;) {
            auto login = std::make_unique<frm_Login>();
            pointer.set(false);
            platform::ShowModal(login.get());
            if (!login->ibool_OK) {
                splash.reset();
                return StartupResult::Ended;
            }
            pointer.set(true);
            gstr_Password = login->takePassword();
            login.reset();
            gstr_Connect = statements::connectBeside();
            error = openDataFile();
            if (error.number() == dao::err::InvalidPassword) {
                platform::ShowMessage(QStringLiteral("The password is incorrect.\r\n"),
                                      platform::MessageKind::Information, QStringLiteral("Corvanta Password"));
                continue;
            }
            break;
        }
    }
    if (error) {
        // At the first opening the splash goes first; an error in the password loop is shown
        // at once, above the splash, which then goes with the program.
        if (!hadPassword) {
            unloadSplash();
        }
        pointer.set(false);
        ShowErrorText(error);
        gdb_Data.reset();
        return StartupResult::Ended;
    }

    // The personal record: when there is none, the user is asked for it before anything else.
    dao::RecordsetPtr personal;
    const dao::Error checkError = gdb_Data->OpenRecordset(statements::personalCheck(), personal);
    const bool empty = !checkError && personal->Bof();
    if (personal) {
        personal->Close();
    }
    if (checkError && hadPassword) {
        pointer.set(false);
        ShowErrorText(checkError);
        gdb_Data.reset();
        return StartupResult::Ended;
    }
    unloadSplash();
    pointer.set(false);
    if (empty && windows.personalInformation) {
        windows.personalInformation();
    }
    if (windows.mainWindow) {
        windows.mainWindow();
    }
    return StartupResult::Running;
}
