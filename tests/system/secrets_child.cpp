// The program's part in the search of its memory for secrets: opens the data file given with
// the password read from the standard input, shows every record of every list in the main
// window, then locks as the program does when it vanishes. It says "ready" and waits until its
// input ends, so that its memory can be read meanwhile. With "open" it does not lock (the
// search must find the secrets then). Only this helper honours CORVANTA_TEST_READABLE, which
// lets its parent read its memory; the program never becomes readable.
//   secrets_child DATA_FILE SETTINGS_FOLDER lock|open

#include "DataControl.h"
#include "General.h"
#include "Main.h"
#include "SecureMemory.h"
#include "SettingsStore.h"
#include "Statements.h"
#include "TrayControl.h"
#include "frm_Main.h"

#include <QApplication>
#include <QTest>

#include <sodium.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>

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
    {
        char line[256] = {};
        const ssize_t n = ::read(STDIN_FILENO, line, sizeof line - 1);
        qsizetype length = n > 0 ? n : 0;
        while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) {
            --length;
        }
        gstr_Password = QString::fromUtf8(line, length);
        sodium_memzero(line, sizeof line);
    }
    gstr_Connect = statements::connectWith(gstr_Password);
    if (dao::DBEngine::OpenDatabase(gstr_DataFile, false, false, gstr_Connect, gdb_Data)) {
        return 3;
    }
    frm_Main::setEndProgram([] {});
    auto main = std::make_unique<frm_Main>();
    main->show();
    for (const char* category : {"Credit", "Travel", "Web"}) {
        DataControl* view = main->dataControl(QString::fromLatin1(category));
        main->showPage(QString::fromLatin1(category));
        for (dao::Error e = view->MoveFirst(); !e && !view->Eof(); e = view->MoveNext()) {
            QTest::qWait(5);
        }
        (void)view->MoveFirst();
    }
    QTest::qWait(100);
    if (QByteArray(argv[3]) == "lock") {
        gbool_Lock = true;
        main->trayControl().mnu_Vanish_Click();
        if (!main->trayControl().isLocked()) {
            return 4;
        }
        QTest::qWait(200);
    }
    std::printf("ready\n");
    std::fflush(stdout);
    char rest[16];
    while (::read(STDIN_FILENO, rest, sizeof rest) > 0) {
    }
    main.reset();
    gdb_Data.reset();
    return 0;
}
