// In-process figures of the data engine: for 100 to 100,000 web accounts, the time to open a
// file (key derivation apart), to save one changed record, to read a table in order and to
// compact; the file's size and the peak memory. Each size runs in a process of its own, so
// that its peak memory is its own. Prints one table.

#include "BenchData.h"
#include "FileFormat.h"
#include "Statements.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double millis(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

// Median of a few runs of f.
template <typename F> double median(int runs, F f)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        times.push_back(f());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int runOne(int n, FILE* out)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Corvanta.cvd"));
    if (dao::Error e = benchdata::makeFile(path, n, QStringLiteral("bench"), true)) {
        std::fprintf(stderr, "%s\n", qPrintable(e.description()));
        return 1;
    }
    const QString connect = statements::connectWith(QStringLiteral("bench"));
    const double open = median(5, [&] {
        QElapsedTimer t;
        t.start();
        dao::DatabasePtr db;
        (void)dao::DBEngine::OpenDatabase(path, false, false, connect, db);
        const double ms = millis(t);
        db.reset();
        return ms;
    });
    dao::DatabasePtr db;
    (void)dao::DBEngine::OpenDatabase(path, false, false, connect, db);
    const double scan = median(5, [&] {
        QElapsedTimer t;
        t.start();
        dao::RecordsetPtr rs;
        (void)db->OpenRecordset(statements::listView(Category::Web), rs);
        qint64 chars = 0;
        for (; !rs->Eof(); (void)rs->MoveNext()) {
            for (const char* f : {"Web Site", "Login", "Password", "Notes"}) {
                chars += rs->Value(QLatin1String(f)).toString().size();
            }
        }
        return chars > 0 ? millis(t) : -1.0;
    });
    int round = 0;
    const double save = median(5, [&] {
        QElapsedTimer t;
        t.start();
        dao::RecordsetPtr rs;
        (void)db->OpenRecordset(statements::saveRecord(Category::Web, 1), rs, dao::dbOpenDynaset);
        (void)rs->Edit();
        (void)rs->SetField(QStringLiteral("Notes"), QStringLiteral("changed %1").arg(++round));
        const dao::Error e = rs->Update();
        return e ? -1.0 : millis(t);
    });
    db.reset();
    const double compact = median(3, [&] {
        const QString to = path + QStringLiteral("Compact");
        QFile::remove(to);
        QElapsedTimer t;
        t.start();
        const dao::Error e =
            dao::DBEngine::CompactDatabase(path, to, statements::compactConnect(QStringLiteral("bench")));
        return e ? -1.0 : millis(t);
    });
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(out, "| %7d | %9.1f | %9.1f | %10.1f | %10.1f | %9.1f | %8.2f |\n", n, open, save, scan, compact,
                 QFileInfo(path).size() / 1048576.0, usage.ru_maxrss / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::vector<int> sizes{100, 1000, 10000, 100000};
    if (argc > 1) {
        sizes.clear();
        for (int i = 1; i < argc; ++i) {
            sizes.push_back(std::atoi(argv[i]));
        }
    }
    // The key derivation of a password set on this machine, alone.
    const dao::format::KdfParams kdf = dao::format::passwordKdf();
    dao::format::Header header;
    header.flags = dao::format::kFlagPassword;
    header.kdf = kdf;
    dao::format::newSalt(header);
    QElapsedTimer t;
    t.start();
    dao::format::Keys keys;
    (void)dao::format::deriveKeys(dao::SecureBytes::fromText(QStringLiteral("bench")), header, keys);
    std::printf("Key derivation (Argon2id, %llu MiB, %llu passes): %.0f ms\n\n",
                static_cast<unsigned long long>(kdf.memory >> 20), static_cast<unsigned long long>(kdf.passes),
                millis(t));
    std::printf("| records | open (ms) | save (ms) | scan (ms)  | compact ms | file (MB) | peak MB  |\n");
    std::printf("|--------:|----------:|----------:|-----------:|-----------:|----------:|---------:|\n");
    std::fflush(stdout);
    for (int n : sizes) {
        const pid_t child = fork();
        if (child == 0) {
            const int rc = runOne(n, stdout);
            std::fflush(stdout);
            _exit(rc == 0 ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        std::fflush(stdout);
    }
    std::printf("\nopen: read, check and decrypt the file without the key derivation; save: one changed record "
                "committed and flushed; scan: every record in name order; medians of 5 (compaction of 3).\n");
    return 0;
}
