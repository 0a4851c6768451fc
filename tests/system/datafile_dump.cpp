// Prints what a data file holds, one line a record: "table|field=value|...". Exit status 3
// for a wrong password, 1 for any other failure. Used by the real-window test to check what
// the program stored.

#include "Dao.h"
#include "Statements.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.size() != 3) {
        err << "usage: datafile_dump FILE PASSWORD\n";
        return 2;
    }
    dao::DatabasePtr db;
    if (const dao::Error e = dao::DBEngine::OpenDatabase(args[1], false, false, statements::connectWith(args[2]), db)) {
        err << e.description() << " [" << e.number() << "]\n";
        return e.number() == dao::err::InvalidPassword ? 3 : 1;
    }
    for (const char* table : {"[Personal Information]", "[Credit Cards]", "[Travel Programs]", "[Web Accounts]"}) {
        dao::RecordsetPtr rs;
        if (const dao::Error e = db->OpenRecordset(QStringLiteral("Select * From ") + QLatin1String(table), rs)) {
            err << e.description() << " [" << e.number() << "]\n";
            return 1;
        }
        for (; !rs->Eof(); (void)rs->MoveNext()) {
            out << table;
            for (const QString& field : rs->FieldNames()) {
                out << '|' << field << '=' << rs->Value(field).toString();
            }
            out << '\n';
        }
    }
    return 0;
}
