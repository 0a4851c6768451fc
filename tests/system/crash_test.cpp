// Kills a writer at random moments with SIGKILL and checks the data file after every kill.
//
//   crash_test WRITER [KILLS]        (CRASH_KILLS, CRASH_SEED, CRASH_MAX_DELAY_MS override)
//
// After each kill the file must open with one of the two passwords the writer alternates
// between and hold exactly the records 0..k, in both tables, where k is the last commit the
// writer reported or the one it was making when it died. Any companion left by an
// interrupted compaction must be a complete data file too. Exits non-zero on any failure.

#include "FileFormat.h"
#include "Maintenance.h"
#include "Schema.h"
#include "Statements.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <random>
#include <string>

namespace {

const QString kPasswordA = QStringLiteral("Crash test ä 1");
const QString kPasswordB = QStringLiteral("other 'pass' 2");

struct Totals
{
    int kills = 0;
    int filesChecked = 0;
    int failures = 0;
    int passwordChanges = 0;
    int compactions = 0;
    int leftovers = 0;
    int killedBeforeFirstCommit = 0;
};

int envInt(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

void complain(Totals& totals, int kill, const QString& what)
{
    ++totals.failures;
    std::fprintf(stderr, "kill %d: %s\n", kill, qPrintable(what));
}

// The numbers of one field of a table in key order; false with a reason when it cannot read them.
bool numbersOf(dao::Database& db, const QString& table, const QString& field, std::vector<int>& out, QString& why)
{
    dao::RecordsetPtr rs;
    if (dao::Error e = db.OpenRecordset(QStringLiteral("Select * From %1 Order By 1").arg(table), rs)) {
        why = e.description();
        return false;
    }
    while (!rs->Eof()) {
        bool ok = false;
        out.push_back(rs->Value(field).toString().toInt(&ok));
        if (!ok) {
            why = table + QStringLiteral(" holds a record that is not a number");
            return false;
        }
        if (rs->MoveNext()) {
            break;
        }
    }
    return true;
}

// Opens path with either password and reads its records; -1 and a reason when it is not a
// whole data file holding 0..n-1 in both tables.
int recordsIn(const QString& path, QString& why)
{
    dao::DatabasePtr db;
    dao::Error e;
    for (const QString& password : {kPasswordA, kPasswordB}) {
        e = dao::DBEngine::OpenDatabase(path, false, true, statements::connectWith(password), db);
        if (e.number() != dao::err::InvalidPassword) {
            break;
        }
    }
    if (e) {
        why = QStringLiteral("%1 does not open: %2 [%3]").arg(path, e.description()).arg(e.number());
        return -1;
    }
    std::vector<int> web;
    std::vector<int> cards;
    if (!numbersOf(*db, QStringLiteral("[Web Accounts]"), QStringLiteral("Web Site"), web, why) ||
        !numbersOf(*db, QStringLiteral("[Credit Cards]"), QStringLiteral("Credit Card"), cards, why)) {
        return -1;
    }
    if (web != cards) {
        why = QStringLiteral("the two tables differ: %1 and %2 records").arg(web.size()).arg(cards.size());
        return -1;
    }
    for (size_t i = 0; i < web.size(); ++i) {
        if (web[i] != static_cast<int>(i)) {
            why = QStringLiteral("record %1 holds %2").arg(i).arg(web[i]);
            return -1;
        }
    }
    return static_cast<int>(web.size());
}

// Starts the writer with its output on a pipe; the read end is returned in fd.
pid_t startWriter(const char* writer, const QString& path, int& fd)
{
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        return -1;
    }
    const QByteArray file = QFile::encodeName(path);
    const QByteArray a = kPasswordA.toLocal8Bit();
    const QByteArray b = kPasswordB.toLocal8Bit();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::execl(writer, writer, file.constData(), a.constData(), b.constData(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    fd = pipeFds[0];
    return pid;
}

// Reads what is there (or, with a negative wait, until end of file) and appends it to text.
bool drain(int fd, std::string& text, int waitMs)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(waitMs, 0));
    for (;;) {
        int timeout = -1;
        if (waitMs >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                return true;
            }
            timeout = static_cast<int>(left.count());
        }
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, timeout);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return ready == 0;
        }
        char buffer[4096];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            return n == 0;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: crash_test WRITER [KILLS]\n");
        return 2;
    }
    const char* writer = argv[1];
    const int kills = envInt("CRASH_KILLS", argc > 2 ? std::atoi(argv[2]) : 100);
    const int maxDelayMs = envInt("CRASH_MAX_DELAY_MS", 80);
    const unsigned seed = static_cast<unsigned>(envInt("CRASH_SEED", static_cast<int>(std::random_device{}() >> 1)));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delay(0, maxDelayMs);

    dao::format::setPasswordKdfForTesting(dao::format::cheapKdf());
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "crash_test: no temporary folder\n");
        return 2;
    }
    const QString path = dir.filePath(QStringLiteral("Corvanta.cvd"));
    if (dao::Error e = schema::createDataFile(path)) {
        std::fprintf(stderr, "crash_test: %s\n", qPrintable(e.description()));
        return 2;
    }
    if (dao::Error e = maintenance::changePassword(path, QString(), kPasswordA)) {
        std::fprintf(stderr, "crash_test: %s\n", qPrintable(e.description()));
        return 2;
    }

    Totals totals;
    int confirmed = -1; // the last record a writer reported committed
    for (int kill = 1; kill <= kills; ++kill) {
        int fd = -1;
        const pid_t pid = startWriter(writer, path, fd);
        if (pid < 0) {
            std::fprintf(stderr, "crash_test: cannot start %s\n", writer);
            return 2;
        }
        std::string output;
        // Most kills land once the writer is saving; the rest anywhere from its start,
        // where it opens the file and finishes an interrupted compaction.
        if (random() % 5 != 0) {
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (output.find("start") == std::string::npos && std::chrono::steady_clock::now() < until) {
                if (!drain(fd, output, 5)) {
                    break;
                }
            }
        }
        drain(fd, output, delay(random));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        drain(fd, output, -1);
        ::close(fd);
        ++totals.kills;
        if (!WIFSIGNALED(status) || WTERMSIG(status) != SIGKILL) {
            complain(totals, kill, QStringLiteral("the writer stopped by itself (status %1)").arg(status));
        }

        bool committedAny = false;
        size_t from = 0;
        for (size_t at = output.find('\n'); at != std::string::npos; from = at + 1, at = output.find('\n', from)) {
            const std::string line = output.substr(from, at - from);
            if (line == "password") {
                ++totals.passwordChanges;
            } else if (line == "compact") {
                ++totals.compactions;
            } else if (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos) {
                confirmed = std::max(confirmed, std::stoi(line));
                committedAny = true;
            }
        }
        if (!committedAny) {
            ++totals.killedBeforeFirstCommit;
        }

        QString why;
        const int records = recordsIn(path, why);
        ++totals.filesChecked;
        if (records < 0) {
            complain(totals, kill, why);
            break; // the file is lost to every later writer too
        }
        if (records - 1 != confirmed && records - 1 != confirmed + 1) {
            complain(totals, kill,
                     QStringLiteral("holds records 0..%1 but 0..%2 were committed").arg(records - 1).arg(confirmed));
        }
        confirmed = records - 1;

        // A compaction's companion and the previous generation are never half-written either.
        for (const QString& other : {maintenance::compactPath(path), maintenance::backupPath(path)}) {
            if (QFileInfo::exists(other)) {
                ++totals.filesChecked;
                const int kept = recordsIn(other, why);
                if (kept < 0 || kept > records) {
                    complain(totals, kill, QStringLiteral("a companion or backup is not whole: ") + why);
                }
            }
        }
        const QStringList names = QDir(dir.path()).entryList(QDir::Files);
        for (const QString& name : names) {
            if (name.endsWith(QLatin1String(".tmp"))) {
                ++totals.leftovers;
            }
        }
    }

    std::printf("crash test: %d kills, %d files checked, %d failures; %d records committed, %d password changes, "
                "%d compactions, %d kills before a commit, %d leftover temporary files (seed %u)\n",
                totals.kills, totals.filesChecked, totals.failures, confirmed + 1, totals.passwordChanges,
                totals.compactions, totals.killedBeforeFirstCommit, totals.leftovers, seed);
    return totals.failures == 0 ? 0 : 1;
}
