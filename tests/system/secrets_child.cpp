// The program's part in the search of its memory for secrets: logs in with the password read from
// the standard input (typed into the login dialog), shows every record in the main window, locks
// as the program does when it vanishes and, with "unlock", comes back through the password check;
// "open" does not lock. It says "ready" and waits until its input ends, so that its memory can be
// read meanwhile. Only this helper honours CORVANTA_TEST_READABLE, which lets its parent read it.
//   secrets_child DATA_FILE SETTINGS_FOLDER open|lock|unlock

#include "DataControl.h"
#include "General.h"
#include "Main.h"
#include "PasswordPrompt.h"
#include "SecureMemory.h"
#include "SettingsStore.h"
#include "Statements.h"
#include "TrayControl.h"
#include "frm_Main.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <sodium.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

// Types the password into the password dialog that comes up next and presses Enter, as a person would.
void typeIntoNextPrompt(const dao::SecureBytes& password)
{
    QTimer::singleShot(50, [&password] {
        auto* box = QApplication::activeModalWidget()->findChild<QLineEdit*>(QStringLiteral("sle_Password"));
        const QByteArray utf8(reinterpret_cast<const char*>(password.data()), static_cast<qsizetype>(password.size()));
        for (const QChar character : QString::fromUtf8(utf8)) { // keyClicks sends ASCII only
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(character), Qt::NoModifier);
        }
        QTest::keyClick(box, Qt::Key_Return);
    });
}

} // namespace

int main(int argc, char** argv)
{
    HardenProcess();
    if (qEnvironmentVariableIsSet("CORVANTA_TEST_READABLE")) {
        ::prctl(PR_SET_DUMPABLE, 1, 0, 0, 0);
    }
    if (argc != 4) {
        return 2;
    }
    QApplication app(argc, argv);
    if (!dao::initializeCrypto()) {
        return 2;
    }
    platform::setSettingsFolder(QString::fromLocal8Bit(argv[2]));
    gstr_DataFile = QString::fromLocal8Bit(argv[1]);
    char line[256] = {};
    const ssize_t n = ::read(STDIN_FILENO, line, sizeof line - 1);
    dao::SecureBytes typed(n > 1 ? static_cast<size_t>(n - 1) : 0); // without the line's end
    std::memcpy(typed.data(), line, typed.size());
    sodium_memzero(line, sizeof line);
    {
        frm_Login login;
        typeIntoNextPrompt(typed);
        if (login.exec() != QDialog::Accepted) {
            return 3;
        }
        gstr_Password = login.takePassword();
    }
    gstr_Connect = statements::connectBeside();
    if (dao::DBEngine::OpenDatabase(gstr_DataFile, false, false, gstr_Connect, gdb_Data, gstr_Password)) {
        return 3;
    }
    frm_Main::setEndProgram([] {});
    auto main = std::make_unique<frm_Main>();
    main->show();
    for (const Category category : categories::listed()) {
        DataControl* view = main->dataControl(category);
        main->showPage(category);
        for (dao::Error e = view->MoveFirst(); !e && !view->Eof(); e = view->MoveNext()) {
            QTest::qWait(5);
        }
        (void)view->MoveFirst();
    }
    QTest::qWait(100);
    const QByteArray mode(argv[3]);
    if (mode != "open") {
        gbool_Lock = true;
        main->trayControl().mnu_Vanish_Click();
        if (!main->trayControl().isLocked()) {
            return 4;
        }
        QTest::qWait(200);
    }
    if (mode == "unlock") {
        typeIntoNextPrompt(typed);
        if (!main->trayControl().wf_RestoreApplication(true) || main->trayControl().isLocked()) {
            return 5;
        }
        QTest::qWait(200);
    }
    typed.clear();
    std::printf("ready\n");
    std::fflush(stdout);
    char rest[16];
    while (::read(STDIN_FILENO, rest, sizeof rest) > 0) {
    }
    main.reset();
    gdb_Data.reset();
    return 0;
}
