// Creates an empty data file without password at the given path. It never overwrites a file:
// with --if-missing an existing file is left alone and counts as success.

#include "Schema.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool ifMissing = args.removeAll(QStringLiteral("--if-missing")) > 0;
    QTextStream err(stderr);
    if (args.size() != 1) {
        err << "usage: corvanta-create-datafile [--if-missing] PATH\n";
        return 2;
    }
    const QString path = args.first();
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
        if (ifMissing) {
            return 0;
        }
        err << "corvanta-create-datafile: " << path << " exists; it is left as it is\n";
        return 1;
    }
    if (const dao::Error e = schema::createDataFile(path)) {
        err << "corvanta-create-datafile: " << e.description() << " [" << e.number() << "]\n";
        return 1;
    }
    return 0;
}
