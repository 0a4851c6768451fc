// What a person waits for, with 1,000 to 100,000 web accounts (and a tenth as many cards and
// programs): the program's start until its first window has painted, opening the data file, the main window's load and
// attach until it is on screen, each edit dialog for a new and an existing record, saving one, the Find window and the
// password report. Each size runs in a fresh process so that its peak memory is its own.
// Offscreen; figures, not a test.

#include "BenchData.h"
#include "Dao.h"
#include "Desktop.h"
#include "EditDialog.h"
#include "General.h"
#include "Main.h"
#include "Settings.h"
#include "SettingsStore.h"
#include "Statements.h"
#include "frm_CreditCards.h"
#include "frm_Find.h"
#include "frm_Main.h"
#include "frm_PasswordReport.h"
#include "frm_PersonalInformation.h"
#include "frm_TravelPrograms.h"
#include "frm_WebAccounts.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>

namespace {

double elapsedMs(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Made, loaded and on screen with its first paint done: what Ctrl+W shows.
template <typename Dialog> double openDialog(const QString& recordId, std::unique_ptr<EditDialog>* keep = nullptr)
{
    std::unique_ptr<EditDialog> dialog;
    const double ms = elapsedMs([&] {
        dialog = std::make_unique<Dialog>();
        dialog->Form_Load(recordId);
        dialog->show();
        QApplication::processEvents();
    });
    if (keep != nullptr) {
        *keep = std::move(dialog);
    }
    return ms;
}

// From the dialog's making until its last list has its items, the person free to type meanwhile;
// then the login list dropped down, and one letter typed with the completion following.
struct Lists
{
    double ready = 0;
    double dropDown = 0;
    double keystroke = 0;
};
Lists listsReady(const QString& recordId)
{
    QElapsedTimer timer;
    timer.start();
    frm_WebAccounts dialog;
    dialog.Form_Load(recordId);
    dialog.show();
    auto* last = dialog.findChild<QComboBox*>(QStringLiteral("ddlb_EMailAddress"));
    while (last->count() == 0 && timer.elapsed() < 10000) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    Lists lists;
    lists.ready = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    auto* login = dialog.findChild<QComboBox*>(QStringLiteral("ddlb_Login"));
    lists.dropDown = elapsedMs([&] {
        login->showPopup();
        QApplication::processEvents();
    });
    login->hidePopup();
    login->setFocus();
    login->setEditText(QString());
    lists.keystroke = elapsedMs([&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_U, Qt::NoModifier, QStringLiteral("u"));
        QApplication::sendEvent(login->lineEdit(), &press);
        QApplication::processEvents();
    });
    return lists;
}

// A window that reads what it lists after it is on screen: until it shows, and until the last of
// it is in.
struct Arrival
{
    double shown = 0;
    double ready = 0;
};
template <typename Window> Arrival shownThenRead(Window& window, const std::function<void()>& load)
{
    Arrival arrival;
    QElapsedTimer timer;
    timer.start();
    load();
    window.show();
    QApplication::processEvents();
    arrival.shown = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    while (window.reading() && timer.elapsed() < 20000) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    arrival.ready = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    return arrival;
}

// The Find window on screen, its records all read, and one letter typed with the list following.
struct Find
{
    Arrival arrival;
    double keystroke = 0;
};
Find findWindow()
{
    Find find;
    frm_Find window;
    find.arrival = shownThenRead(window, [&] { (void)window.load(*gdb_Data); });
    auto* box = window.findChild<QLineEdit*>(QStringLiteral("sle_FindText"));
    find.keystroke = elapsedMs([&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_U, Qt::NoModifier, QStringLiteral("u"));
        QApplication::sendEvent(box, &press);
        QApplication::processEvents();
    });
    return find;
}

// View > Password Report on screen, then its findings all worked out.
Arrival reportWindow()
{
    frm_PasswordReport window;
    return shownThenRead(window, [&] { (void)window.load(*gdb_Data, QDate::currentDate()); });
}

// The clock all processes share, in ms: a parent reads it before it starts a child, the child
// when its first window has painted.
double sharedClockMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Prints the clock once the first window of the process is painted and on screen, and ends it.
class FirstWindow : public QObject
{
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = qobject_cast<QWindow*>(watched);
        if (event->type() != QEvent::Expose || window == nullptr || !window->isExposed()) {
            return false;
        }
        static_cast<QObject*>(window)->event(event); // paints the whole window now
        std::printf("%.3f\n", sharedClockMs());
        std::fflush(stdout);
        std::_Exit(0);
    }
};

// The program's own start, as a person starts it, with the data file found in its folder.
int startOne(const QString& folder, bool splash)
{
    FirstWindow firstWindow;
    qApp->installEventFilter(&firstWindow);
    platform::setSettingsFolder(folder);
    platform::setProgramDirectory(folder);
    settings::SaveSetting(settings::kSplashScreen, splash ? QStringLiteral("1") : QStringLiteral("0"));
    if (!dao::initializeCrypto()) {
        return 1;
    }
    std::unique_ptr<frm_Main> mainWindow;
    StartupWindows windows;
    windows.mainWindow = [&mainWindow] {
        mainWindow = std::make_unique<frm_Main>();
        mainWindow->show();
    };
    return Main(windows) == StartupResult::Running ? QApplication::exec() : 1;
}

// From starting the process until its first window has painted: the splash, or with the splash
// switched off the main window, the data file opened.
double startToFirstWindow(const QString& path, bool splash)
{
    QTemporaryDir folder;
    const QString runtime = folder.filePath(QStringLiteral("runtime"));
    if (!QDir().mkpath(runtime) ||
        !QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) ||
        !QFile::link(path, folder.filePath(QStringLiteral("Corvanta.cvd")))) {
        return -1;
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    child.setProcessEnvironment(environment);
    const double started = sharedClockMs();
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("start"), folder.path(), splash ? QStringLiteral("1") : QStringLiteral("0")});
    if (!child.waitForFinished(-1) || child.exitCode() != 0) {
        return -1;
    }
    return child.readAllStandardOutput().trimmed().toDouble() - started;
}

struct Start
{
    double splash = 0;
    double mainWindow = 0;
};

int runOne(int n, const QString& path, const Start& start)
{
    QTemporaryDir dir;
    platform::setSettingsFolder(dir.path());
    platform::setProgramDirectory(dir.path());
    gstr_DataFile = path;
    gstr_Connect = statements::connectFirst();
    const double open =
        elapsedMs([&] { (void)dao::DBEngine::OpenDatabase(path, false, false, gstr_Connect, gdb_Data); });
    std::unique_ptr<frm_Main> main;
    const double mainWindow = elapsedMs([&] {
        main = std::make_unique<frm_Main>();
        main->show();
        QApplication::processEvents();
    });
    const QString existing = QString::number(n / 2);
    const QString existingOther = QString::number(std::max(1, n / 20));
    const double personal = openDialog<frm_PersonalInformation>(QStringLiteral("0"));
    const double cardNew = openDialog<frm_CreditCards>(QStringLiteral("0"));
    const double cardOld = openDialog<frm_CreditCards>(existingOther);
    const double programNew = openDialog<frm_TravelPrograms>(QStringLiteral("0"));
    const double programOld = openDialog<frm_TravelPrograms>(existingOther);
    const double webNew = openDialog<frm_WebAccounts>(QStringLiteral("0"));
    const Lists webLists = listsReady(existing);
    std::unique_ptr<EditDialog> web;
    const double webOld = openDialog<frm_WebAccounts>(existing, &web);
    const double save = elapsedMs([&] {
        web->findChild<QPushButton*>(QStringLiteral("cb_OK"))->click();
        QApplication::processEvents();
    });
    web.reset();
    const Find find = findWindow();
    const Arrival report = reportWindow();
    main.reset();
    gdb_Data.reset();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("| %7d | %5.1f / %5.1f | %6.1f | %6.1f | %6.1f | %6.1f / %6.1f | %6.1f / %6.1f | %6.1f / %6.1f | %6.1f "
                "/ %4.1f / %4.1f "
                "| %6.1f | %6.1f / %6.1f / %4.1f | %6.1f / %6.1f | %4ld |\n",
                n, start.splash, start.mainWindow, open, mainWindow, personal, cardNew, cardOld, programNew, programOld,
                webNew, webOld, webLists.ready, webLists.dropDown, webLists.keystroke, save, find.arrival.shown,
                find.arrival.ready, find.keystroke, report.shown, report.ready, usage.ru_maxrss / 1024);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && qstrcmp(argv[1], "make") == 0) {
        QCoreApplication app(argc, argv);
        const int n = QString::fromLocal8Bit(argv[2]).toInt();
        const QString path = QString::fromLocal8Bit(argv[3]);
        return benchdata::makeFile(path, n, QString(), true) || benchdata::addCardsAndPrograms(path, n / 10) ? 1 : 0;
    }
    if (argc == 4 && qstrcmp(argv[1], "start") == 0) {
        QApplication app(argc, argv);
        return startOne(QString::fromLocal8Bit(argv[2]), qstrcmp(argv[3], "1") == 0);
    }
    if ((argc == 4 || argc == 6) && qstrcmp(argv[1], "measure") == 0) {
        QApplication app(argc, argv);
        Start start;
        if (argc == 6) {
            start.splash = QString::fromLocal8Bit(argv[4]).toDouble();
            start.mainWindow = QString::fromLocal8Bit(argv[5]).toDouble();
        }
        return runOne(QString::fromLocal8Bit(argv[2]).toInt(), QString::fromLocal8Bit(argv[3]), start);
    }
    QCoreApplication app(argc, argv);
    std::printf("Times in ms; cards and programs: a tenth of the web accounts each; peak memory of the whole "
                "process in MB.\n\n");
    std::printf(
        "| web accounts | start to splash / to main window | open file | main window | personal | card new / existing "
        "| program new / "
        "existing | web account new / existing | its lists filled / dropped down / one key | save | find shown / "
        "records read / one key | password report shown / worked out | peak MB |\n");
    std::printf("|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|\n");
    std::fflush(stdout);
    // The file is made by one process and measured by another, whose peak memory is the program's.
    QTemporaryDir dir;
    for (const char* n : {"1000", "10000", "100000"}) {
        const QString path = dir.filePath(QStringLiteral("Corvanta-%1.cvd").arg(QLatin1String(n)));
        QProcess make;
        make.setProcessChannelMode(QProcess::ForwardedChannels);
        make.start(QCoreApplication::applicationFilePath(), {QStringLiteral("make"), QString::fromLatin1(n), path});
        const double splash = make.waitForFinished(-1) && make.exitCode() == 0 ? startToFirstWindow(path, true) : -1;
        const double mainWindow = splash >= 0 ? startToFirstWindow(path, false) : -1;
        QProcess measure;
        measure.setProcessChannelMode(QProcess::ForwardedChannels);
        measure.start(QCoreApplication::applicationFilePath(), {QStringLiteral("measure"), QString::fromLatin1(n), path,
                                                                QString::number(splash), QString::number(mainWindow)});
        if (mainWindow < 0 || !measure.waitForFinished(-1) || measure.exitCode() != 0) {
            std::fprintf(stderr, "measuring %s records failed\n", n);
            return 1;
        }
    }
    return 0;
}
