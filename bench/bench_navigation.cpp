// The main window's data view over 100 to 100,000 web accounts: attaching it (opening the
// record source and showing the first record), and one move with the bound fields following,
// averaged over many moves. Figures, not a test.

#include "BenchData.h"
#include "DataControl.h"
#include "Statements.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("| records | attach (ms) | one move (us) | find by id (ms) |\n");
    std::printf("|--------:|------------:|--------------:|----------------:|\n");
    for (int n : {100, 1000, 10000, 100000}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Corvanta.cvd"));
        if (benchdata::makeFile(path, n, QStringLiteral("bench"), true)) {
            return 1;
        }
        DataControl view;
        QLineEdit site;
        QLineEdit login;
        QLineEdit password;
        QPlainTextEdit notes;
        view.bind(&site, QStringLiteral("Web Site"));
        view.bind(&login, QStringLiteral("Login"));
        view.bind(&password, QStringLiteral("Password"));
        view.bind(&notes, QStringLiteral("Notes"));
        view.setDatabaseName(path);
        view.setConnect(statements::connectWith(QStringLiteral("bench")));
        view.setRecordSource(statements::listView(Category::Web));
        QElapsedTimer t;
        t.start();
        if (view.Refresh()) {
            return 1;
        }
        const double attach = t.nsecsElapsed() / 1e6;
        const int moves = 2000;
        t.restart();
        for (int i = 0; i < moves; ++i) {
            dao::Error e = (i % 4 == 0)   ? view.MoveLast()
                           : (i % 4 == 1) ? view.MovePrevious()
                           : (i % 4 == 2) ? view.MoveFirst()
                                          : view.MoveNext();
            (void)e;
        }
        const double move = t.nsecsElapsed() / 1e3 / moves;
        t.restart();
        (void)view.FindFirst(statements::criteriaById(Category::Web, n / 2));
        const double find = t.nsecsElapsed() / 1e6;
        std::printf("| %7d | %11.1f | %13.1f | %15.1f |\n", n, attach, move, find);
        std::fflush(stdout);
    }
    return 0;
}
