// A small command-line tool over the data engine, timed as a whole process by compare_peer.sh.
//   corvanta-cli make FILE N PASSWORD   a file of N web accounts (cheapest key derivation)
//   corvanta-cli ls FILE PASSWORD       lists every web account in name order
//   corvanta-cli add FILE PASSWORD NAME adds one web account and saves

#include "BenchData.h"
#include "Statements.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream out(stdout);
    QTextStream err(stderr);
    auto fail = [&](const dao::Error& e) {
        err << e.description() << " [" << e.number() << "]\n";
        return 1;
    };
    if (args.size() == 5 && args[1] == QLatin1String("make")) {
        if (dao::Error e = benchdata::makeFile(args[2], args[3].toInt(), args[4], true)) {
            return fail(e);
        }
        return 0;
    }
    if (args.size() < 4) {
        err << "usage: corvanta-cli make FILE N PASSWORD | ls FILE PASSWORD | add FILE PASSWORD NAME\n";
        return 2;
    }
    dao::DatabasePtr db;
    if (dao::Error e = dao::DBEngine::OpenDatabase(args[2], false, false, statements::connectWith(args[3]), db)) {
        return fail(e);
    }
    if (args[1] == QLatin1String("ls")) {
        dao::RecordsetPtr rs;
        // The names only, in the order the main window shows them, as the peer's listing gives titles.
        if (dao::Error e =
                db->OpenRecordset(QStringLiteral("SELECT [Web Site] FROM [Web Accounts] ORDER BY [Web Site]"), rs)) {
            return fail(e);
        }
        int count = 0;
        for (; !rs->Eof(); (void)rs->MoveNext()) {
            out << rs->Value(QStringLiteral("Web Site")).toString() << '\n';
            ++count;
        }
        return count == rs->RecordCount() ? 0 : 1;
    }
    if (args[1] == QLatin1String("add") && args.size() == 5) {
        dao::RecordsetPtr rs;
        if (dao::Error e = db->OpenRecordset(statements::saveRecord(Category::Web, 0), rs, dao::dbOpenDynaset)) {
            return fail(e);
        }
        (void)rs->AddNew();
        (void)rs->SetField(QStringLiteral("Web Site"), args[4]);
        (void)rs->SetField(QStringLiteral("Password"), QStringLiteral("new-password"));
        if (dao::Error e = rs->Update()) {
            return fail(e);
        }
        return 0;
    }
    err << "unknown command\n";
    return 2;
}
