// Unlocking the main window over 10,000 web accounts with the calibrated key derivation: the
// file is opened again with the typed password, the personal frame and the three views are
// filled anew and each page finds the record it showed. Beside it, the opening alone (the key
// derivation and the decryption), so that the rest of the unlock shows. Figures, not a test.

#include "BenchData.h"
#include "DataControl.h"
#include "General.h"
#include "Statements.h"
#include "frm_Main.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

int main(int argc, char** argv)
{
    QTemporaryDir dir;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    QApplication app(argc, argv);
    const int records = 10000;
    const QString password = QStringLiteral("bench password");
    gstr_DataFile = dir.filePath(QStringLiteral("Corvanta.cvd"));
    if (benchdata::makeFile(gstr_DataFile, records, password, false)) {
        return 1;
    }
    const int rounds = 5;
    double open = 1e9;
    for (int i = 0; i < rounds; ++i) {
        dao::DatabasePtr db;
        QElapsedTimer t;
        t.start();
        if (dao::DBEngine::OpenDatabase(gstr_DataFile, false, false, statements::connectWith(password), db)) {
            return 1;
        }
        open = std::min(open, t.nsecsElapsed() / 1e6);
        db->Close();
    }

    gstr_Password = dao::SecureBytes::fromText(password);
    gstr_Connect = statements::connectWith(password);
    if (dao::DBEngine::OpenDatabase(gstr_DataFile, false, false, gstr_Connect, gdb_Data)) {
        return 1;
    }
    double unlock = 1e9;
    {
        frm_Main main;
        main.showPage(Category::Web);
        (void)main.dataControl(Category::Web)->FindFirst(statements::criteriaById(Category::Web, records / 2));
        for (int i = 0; i < rounds; ++i) {
            main.wf_LockData();
            QElapsedTimer t;
            t.start();
            if (main.wf_UnlockData(dao::SecureBytes::fromText(password)) != TrayControl::Unlock::Opened) {
                return 1;
            }
            unlock = std::min(unlock, t.nsecsElapsed() / 1e6);
        }
        frm_Main::setEndProgram([] {});
        main.close();
    }
    std::printf("| records | opening alone (ms) | unlock (ms) | unlock beyond the opening (ms) |\n");
    std::printf("|--------:|-------------------:|------------:|-------------------------------:|\n");
    std::printf("| %7d | %18.1f | %11.1f | %30.1f |\n", records, open, unlock, unlock - open);
    return 0;
}
