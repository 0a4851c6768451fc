// The import of a browser's CSV export of 10,000 web accounts (realistic lengths, a note each)
// into a data file that already holds 1,000: reading and recognising the file, finding the
// duplicates, and adding every account in one transaction written whole and flushed. Median
// of 5 runs, each into a fresh copy of the data file.

#include "BenchData.h"
#include "CsvFile.h"
#include "Import.h"
#include "Statements.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 10000;
    QByteArray csv;
    csv::appendRecord(csv, {"name", "url", "username", "password", "note"});
    for (int i = 0; i < n; ++i) {
        const benchdata::Account a = benchdata::account(100000 + i);
        csv::appendRecord(csv, {a.site, a.url, a.login, a.password, a.notes});
    }
    QTemporaryDir dir;
    const QString original = dir.filePath("original.cvd");
    if (dao::Error e = benchdata::makeFile(original, 1000, "password", false)) {
        std::fprintf(stderr, "%s\n", qPrintable(e.description()));
        return 1;
    }
    std::vector<double> read, duplicates, add, total;
    for (int run = 0; run < 5; ++run) {
        const QString path = dir.filePath(QStringLiteral("run%1.cvd").arg(run));
        QFile::copy(original, path);
        dao::DatabasePtr db;
        if (dao::Error e = dao::DBEngine::OpenDatabase(path, false, false, statements::connectWith("password"), db)) {
            std::fprintf(stderr, "%s\n", qPrintable(e.description()));
            return 1;
        }
        QElapsedTimer t;
        t.start();
        QList<transfer::Record> records;
        QString message;
        if (!transfer::readExport(csv, records, message) || records.size() != n) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            return 1;
        }
        read.push_back(t.nsecsElapsed() / 1e6);
        QList<bool> duplicate;
        (void)transfer::findDuplicates(*db, records, duplicate);
        duplicates.push_back(t.nsecsElapsed() / 1e6 - read.back());
        if (dao::Error e = transfer::addRecords(*db, records)) {
            std::fprintf(stderr, "%s\n", qPrintable(e.description()));
            return 1;
        }
        total.push_back(t.nsecsElapsed() / 1e6);
        add.push_back(total.back() - read.back() - duplicates.back());
        db->Close();
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("import of %d web accounts (%.1f MB of CSV) into a file of 1,000\n", n, csv.size() / 1e6);
    std::printf("read and recognise %.1f ms, duplicates %.1f ms, add and commit %.1f ms, total %.1f ms\n", median(read),
                median(duplicates), median(add), median(total));
    return 0;
}
