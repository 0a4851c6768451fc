// Kills a writer at random moments with SIGKILL and checks the data file after every kill.
//
//   crash_test [KILLS]        (CRASH_KILLS, CRASH_SEED, CRASH_MAX_DELAY_MS override)
//
// The writer, a child process forked for each round, adds record i to two tables in one
// transaction and reports i (one line, one write) only after CommitTrans has returned. Every 11th
// record it swaps the password between two, every 17th it compacts the file, through the routines
// the program uses, so a kill can land inside those too; at its start it finishes an interrupted
// compaction as the program does. After each kill the file must open with one of the two
// passwords and hold exactly the records 0..k, in both tables, where k is the last commit the
// writer reported or the one it was making when it died. Any companion left by an interrupted
// compaction, and the previous generation, must be whole data files too. Exits non-zero on any
// failure.

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

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

const QString kPasswords[] = {QStringLiteral("Crash test ä 1"), QStringLiteral("other 'pass' 2")};

int envInt(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

// Opens the file with whichever of the two passwords it has now.
dao::Error openEither(const QString& path, bool readOnly, dao::DatabasePtr& db, QString* password = nullptr)
{
    dao::Error e;
    for (const QString& candidate : kPasswords) {
        e = dao::DBEngine::OpenDatabase(path, false, readOnly, statements::connectWith(candidate), db);
        if (e.number() != dao::err::InvalidPassword) {
            if (password != nullptr) {
                *password = candidate;
            }
            break;
        }
    }
    return e;
}

// The numbers of one field of a table in key order; false with a reason when it cannot read them.
bool numbersOf(dao::Database& db, const QString& table, const QString& field, std::vector<int>& out, QString& why)
{
    dao::RecordsetPtr rs;
    if (dao::Error e = db.OpenRecordset(QStringLiteral("Select * From %1 Order By 1").arg(table), rs)) {
        why = e.description();
        return false;
    }
    for (; !rs->Eof(); (void)rs->MoveNext()) {
        bool ok = false;
        out.push_back(rs->Value(field).toString().toInt(&ok));
        if (!ok) {
            why = table + QStringLiteral(" holds a record that is not a number");
            return false;
        }
    }
    return true;
}

// -1 and a reason when the file is not a whole data file holding 0..n-1 in both tables; else n.
int recordsIn(const QString& path, QString& why)
{
    dao::DatabasePtr db;
    if (const dao::Error e = openEither(path, true, db)) {
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

// The writer's life in its child process: saves until it is killed, reporting on out.
[[noreturn]] void writeUntilKilled(const QString& path, int out)
{
    const auto report = [out](const std::string& line) {
        const std::string text = line + '\n';
        // One write per line: the driver must never read half a number after the kill.
        if (::write(out, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
            ::_exit(4);
        }
    };
    const auto check = [](const char* what, const dao::Error& e) {
        if (e) {
            std::fprintf(stderr, "writer: %s: %s [%d]\n", what, qPrintable(e.description()), e.number());
            ::_exit(3);
        }
    };
    maintenance::recoverInterruptedCompaction(path);
    QString password;
    dao::DatabasePtr db;
    check("open", openEither(path, false, db, &password));
    dao::RecordsetPtr saved;
    check("count", db->OpenRecordset(QStringLiteral("Select * From [Web Accounts]"), saved));
    const int start = saved->RecordCount();
    saved.reset();
    report("start " + std::to_string(start));
    for (int next = start;; ++next) {
        check("begin", dao::DBEngine::BeginTrans());
        for (const char* table : {"[Web Accounts] ([Web Site])", "[Credit Cards] ([Credit Card])"}) {
            check("add", db->Execute(QStringLiteral("INSERT INTO %1 VALUES ('%2')").arg(table).arg(next)));
        }
        check("commit", dao::DBEngine::CommitTrans(dao::dbForceOSFlush));
        report(std::to_string(next));
        if (next % 11 == 10) {
            db->Close();
            const QString other = password == kPasswords[0] ? kPasswords[1] : kPasswords[0];
            check("password", maintenance::changePassword(path, password, other));
            check("open", openEither(path, false, db, &password));
            report("password");
        }
        if (next % 17 == 16) {
            db->Close();
            check("compact", maintenance::compactDataFile(path, password));
            check("open", openEither(path, false, db, &password));
            report("compact");
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    const int kills = envInt("CRASH_KILLS", argc > 1 ? std::atoi(argv[1]) : 100);
    const int maxDelayMs = envInt("CRASH_MAX_DELAY_MS", 80);
    const unsigned seed = static_cast<unsigned>(envInt("CRASH_SEED", static_cast<int>(std::random_device{}() >> 1)));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delay(0, maxDelayMs);

    dao::format::setPasswordKdfForTesting(dao::format::cheapKdf());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Corvanta.cvd"));
    dao::Error e = dir.isValid() ? schema::createDataFile(path) : dao::makeError(dao::err::WriteError);
    if (e || (e = maintenance::changePassword(path, QString(), kPasswords[0]))) {
        std::fprintf(stderr, "crash_test: %s\n", qPrintable(e.description()));
        return 2;
    }

    int failures = 0;
    int filesChecked = 0;
    int passwordChanges = 0;
    int compactions = 0;
    int leftovers = 0;
    int killedBeforeFirstCommit = 0;
    int confirmed = -1; // the last record a writer reported committed
    const auto complain = [&failures](int kill, const QString& what) {
        ++failures;
        std::fprintf(stderr, "kill %d: %s\n", kill, qPrintable(what));
    };
    for (int kill = 1; kill <= kills; ++kill) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            return 2;
        }
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            writeUntilKilled(path, fds[1]);
        }
        ::close(fds[1]);
        std::string output;
        char buffer[4096];
        const auto take = [&output, &buffer, fd = fds[0]] {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            output.append(buffer, static_cast<size_t>(std::max<ssize_t>(n, 0)));
            return n > 0;
        };
        // Most kills land once the writer is saving (its first line, "start", has come); the rest
        // anywhere from its start, where it opens the file and finishes an interrupted compaction.
        if (random() % 5 != 0) {
            take();
        }
        ::usleep(static_cast<useconds_t>(delay(random)) * 1000);
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        while (take()) {
        }
        ::close(fds[0]);
        if (!WIFSIGNALED(status) || WTERMSIG(status) != SIGKILL) {
            complain(kill, QStringLiteral("the writer stopped by itself (status %1)").arg(status));
        }

        bool committedAny = false;
        size_t from = 0;
        for (size_t at = output.find('\n'); at != std::string::npos; from = at + 1, at = output.find('\n', from)) {
            const std::string line = output.substr(from, at - from);
            passwordChanges += line == "password";
            compactions += line == "compact";
            if (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos) {
                confirmed = std::max(confirmed, std::stoi(line));
                committedAny = true;
            }
        }
        killedBeforeFirstCommit += !committedAny;

        QString why;
        const int records = recordsIn(path, why);
        ++filesChecked;
        if (records < 0) {
            complain(kill, why);
            break; // the file is lost to every later writer too
        }
        if (records - 1 != confirmed && records - 1 != confirmed + 1) {
            complain(kill,
                     QStringLiteral("holds records 0..%1 but 0..%2 were committed").arg(records - 1).arg(confirmed));
        }
        confirmed = records - 1;

        for (const QString& other : {maintenance::compactPath(path), maintenance::backupPath(path)}) {
            if (QFileInfo::exists(other)) {
                ++filesChecked;
                const int kept = recordsIn(other, why);
                if (kept < 0 || kept > records) {
                    complain(kill, QStringLiteral("a companion or backup is not whole: ") + why);
                }
            }
        }
        leftovers = static_cast<int>(QDir(dir.path()).entryList({QStringLiteral("*.tmp")}, QDir::Files).size());
    }

    std::printf("crash test: %d kills, %d files checked, %d failures; %d records committed, %d password changes, "
                "%d compactions, %d kills before a commit, %d leftover temporary files (seed %u)\n",
                kills, filesChecked, failures, confirmed + 1, passwordChanges, compactions, killedBeforeFirstCommit,
                leftovers, seed);
    return failures == 0 ? 0 : 1;
}
