// Saves numbered records in a loop until it is killed, as the crash test needs.
//
//   crash_writer DATAFILE PASSWORD_A PASSWORD_B
//
// Each transaction adds record i to two tables at once; "i" is printed (one line, written
// straight to the descriptor) only after CommitTrans has returned. Now and then the file is
// compacted or its password swapped between the two given, through the same routines the
// program uses, so a kill can land inside those too. On start it resumes from what the file
// holds and finishes an interrupted compaction the way the program does at start-up.

#include "FileFormat.h"
#include "Maintenance.h"
#include "Statements.h"

#include <QString>

#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kPasswordEvery = 11;
constexpr int kCompactEvery = 17;

[[noreturn]] void fail(const char* what, const dao::Error& e)
{
    std::fprintf(stderr, "crash_writer: %s: %s [%d]\n", what, qPrintable(e.description()), e.number());
    std::exit(3);
}

void report(const std::string& line)
{
    const std::string text = line + '\n';
    // One write per line: the driver must never read half a number after the kill.
    if (::write(STDOUT_FILENO, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        std::exit(4);
    }
}

dao::DatabasePtr openWithEither(const QString& path, const QString& a, const QString& b, QString& current)
{
    for (const QString& password : {a, b}) {
        dao::DatabasePtr db;
        const dao::Error e = dao::DBEngine::OpenDatabase(path, false, false, statements::connectWith(password), db);
        if (!e) {
            current = password;
            return db;
        }
        if (e.number() != dao::err::InvalidPassword) {
            fail("open", e);
        }
    }
    fail("open", dao::makeError(dao::err::InvalidPassword));
}

int countRecords(dao::Database& db, const QString& table)
{
    dao::RecordsetPtr rs;
    if (dao::Error e = db.OpenRecordset(QStringLiteral("Select * From ") + table, rs)) {
        fail("count", e);
    }
    return rs->RecordCount();
}

void addNumbered(dao::Database& db, const QString& table, const QString& field, int i)
{
    dao::RecordsetPtr rs;
    dao::Error e = db.OpenRecordset(QStringLiteral("Select * From ") + table, rs, dao::dbOpenDynaset);
    if (!e) {
        e = rs->AddNew();
    }
    if (!e) {
        e = rs->SetField(field, QString::number(i));
    }
    if (!e) {
        e = rs->Update();
    }
    if (e) {
        fail("add", e);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: crash_writer DATAFILE PASSWORD_A PASSWORD_B\n");
        return 2;
    }
    dao::format::setPasswordKdfForTesting(dao::format::cheapKdf());
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QString a = QString::fromLocal8Bit(argv[2]);
    const QString b = QString::fromLocal8Bit(argv[3]);

    maintenance::recoverInterruptedCompaction(path);
    QString password;
    dao::DatabasePtr db = openWithEither(path, a, b, password);
    int next = countRecords(*db, QStringLiteral("[Web Accounts]"));
    report("start " + std::to_string(next));

    for (;; ++next) {
        if (dao::Error e = dao::DBEngine::BeginTrans()) {
            fail("begin", e);
        }
        addNumbered(*db, QStringLiteral("[Web Accounts]"), QStringLiteral("Web Site"), next);
        addNumbered(*db, QStringLiteral("[Credit Cards]"), QStringLiteral("Credit Card"), next);
        if (dao::Error e = dao::DBEngine::CommitTrans(dao::dbForceOSFlush)) {
            fail("commit", e);
        }
        report(std::to_string(next));

        if (next % kPasswordEvery == kPasswordEvery - 1) {
            db->Close();
            const QString other = password == a ? b : a;
            if (dao::Error e = maintenance::changePassword(path, password, other)) {
                fail("password", e);
            }
            password = other;
            db = openWithEither(path, a, b, password);
            report("password");
        }
        if (next % kCompactEvery == kCompactEvery - 1) {
            db->Close();
            if (dao::Error e = maintenance::compactDataFile(path, password)) {
                fail("compact", e);
            }
            db = openWithEither(path, a, b, password);
            report("compact");
        }
    }
}
