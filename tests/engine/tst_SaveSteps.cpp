// Every step of a save, a compaction and a password change can fail; each failure reaches the
// caller as an error, and the file, the folder and the program's data stay as they were.

#include "EngineFixture.h"
#include "FileOps.h"
#include "Maintenance.h"
#include "Statements.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <errno.h>
#include <fcntl.h>

#include <set>

using namespace dao;

namespace {

// Fails one step of writing a file: the first call of that step after skip calls of it.
class StepFailure : public FileOps
{
public:
    QString step;
    int error = EIO;
    int skip = 0;
    int failures = 0;

    int open(const char* path, int flags, mode_t mode) override
    {
        const bool dir = (flags & O_DIRECTORY) != 0;
        if (hit(dir ? "open folder" : ((flags & O_CREAT) ? "create" : ""))) {
            return -1;
        }
        const int fd = FileOps::open(path, flags, mode);
        if (fd >= 0 && dir) {
            m_dirs.insert(fd);
        } else if (fd >= 0 && (flags & O_CREAT)) {
            m_created.insert(fd);
        }
        return fd;
    }
    ssize_t write(int fd, const void* buffer, size_t count) override
    {
        if (m_shortDone) {
            m_shortDone = false;
            ++failures;
            errno = error;
            return -1;
        }
        if (step == QLatin1String("short write") && count > 1 && hit("short write")) {
            // The disk takes half, then refuses the rest: the next call fails.
            m_shortDone = true;
            return FileOps::write(fd, buffer, count / 2);
        }
        return hit("write") ? -1 : FileOps::write(fd, buffer, count);
    }
    int fsync(int fd) override { return hit(m_dirs.count(fd) ? "flush folder" : "flush") ? -1 : FileOps::fsync(fd); }
    int close(int fd) override
    {
        const bool created = m_created.erase(fd) > 0;
        m_dirs.erase(fd);
        if (created && hit("close")) {
            FileOps::close(fd); // the descriptor is gone either way, as close(2) promises
            return -1;
        }
        return FileOps::close(fd);
    }
    int rename(const char* from, const char* to) override { return hit("rename") ? -1 : FileOps::rename(from, to); }

private:
    bool hit(const char* kind)
    {
        if (m_done || step != QLatin1String(kind)) {
            return false;
        }
        if (skip-- > 0) {
            return false;
        }
        m_done = true; // one failure per operation; a later save must work
        if (step == QLatin1String("short write")) {
            return true; // counted when the rest is refused
        }
        ++failures;
        errno = error;
        return true;
    }
    std::set<int> m_dirs;
    std::set<int> m_created;
    bool m_shortDone = false;
    bool m_done = false;
};

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList sites(Database& db)
{
    return fixture::column(db, statements::webAccountsView(), QStringLiteral("Web Site"));
}

// The rename is the moment a new file takes the old one's place.
bool failsBeforeRename(const QString& step, int skip)
{
    return step != QLatin1String("open folder") && step != QLatin1String("flush folder") &&
           !(step == QLatin1String("rename") && skip > 0);
}

} // namespace

class tst_SaveSteps : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        fixture::useCheapKdf();
    }
    void cleanup() { setFileOps(nullptr); }

    void everyFailedStepKeepsFileAndData_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("skip");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("expected");
        struct Step
        {
            const char* name;
            int skip;
        };
        // A compaction writes its companion, then renames it over the data file: two renames
        // and two folder flushes.
        const Step steps[] = {{"create", 0}, {"write", 0},        {"short write", 0}, {"flush", 0},       {"close", 0},
                              {"rename", 0}, {"flush folder", 0}, {"rename", 1},      {"flush folder", 1}};
        const std::pair<int, int> errors[] = {{ENOSPC, err::DiskFull}, {EIO, err::WriteError}};
        for (const char* operation : {"save", "commit", "compact", "password"}) {
            for (const Step& s : steps) {
                if (s.skip > 0 && QLatin1String(operation) != QLatin1String("compact")) {
                    continue;
                }
                for (const auto& [error, expected] : errors) {
                    QTest::addRow("%s, %s%s, %s", operation, s.name, s.skip ? " (second)" : "",
                                  error == ENOSPC ? "disk full" : "I/O error")
                        << operation << s.name << s.skip << error << expected;
                }
            }
        }
    }
    void everyFailedStepKeepsFileAndData()
    {
        QFETCH(QString, operation);
        QFETCH(QString, step);
        QFETCH(int, skip);
        QFETCH(int, error);
        QFETCH(int, expected);
        const QString file = fixture::createDataFile(m_dir.path(), "pw", QStringLiteral("steps%1.cvd").arg(++m_files));
        const QString folder = QFileInfo(file).absolutePath();
        DatabasePtr db = fixture::open(file, "pw");
        QVERIFY(db);
        QVERIFY(fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "kept"}}) > 0);
        QVERIFY(fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "also kept"}}) > 0);
        const QStringList before = sites(*db);
        const QByteArray bytesBefore = bytesOf(file);
        const QStringList listing = QDir(folder).entryList(QDir::Files);

        StepFailure ops;
        ops.step = step;
        ops.skip = skip;
        ops.error = error;
        Error e;
        QString password = QStringLiteral("pw");
        if (operation == QLatin1String("save")) {
            setFileOps(&ops);
            RecordsetPtr rs;
            QVERIFY(!db->OpenRecordset(statements::webAccountsView(), rs, dbOpenDynaset));
            QVERIFY(!rs->AddNew());
            QVERIFY(!rs->SetField("Web Site", "new"));
            e = rs->Update();
        } else if (operation == QLatin1String("commit")) {
            setFileOps(&ops);
            QVERIFY(!DBEngine::BeginTrans());
            QVERIFY(fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "new"}}) > 0);
            RecordsetPtr rs;
            QVERIFY(!db->OpenRecordset(statements::webAccountsView(), rs, dbOpenDynaset));
            QVERIFY(!rs->Delete());
            e = DBEngine::CommitTrans();
            QVERIFY(!DBEngine::InTransaction());
        } else {
            db->Close();
            setFileOps(&ops);
            e = operation == QLatin1String("compact") ? maintenance::compactDataFile(file, "pw")
                                                      : maintenance::changePassword(file, "pw", "new pw");
        }
        setFileOps(nullptr);
        QVERIFY2(ops.failures > 0, "the step was never reached");

        QCOMPARE(e.number(), expected);
        QVERIFY(!e.description().isEmpty());
        QCOMPARE(QDir(folder).entryList(QDir::Files), listing); // no temporary file or companion left
        if (failsBeforeRename(step, skip)) {
            QCOMPARE(bytesOf(file), bytesBefore);
        }
        QStringList expectedSites = before;
        if (db->IsOpen()) {
            // The program shows what the file holds. Once the new file has taken the old one's
            // place, a failed flush of the folder is still reported, but the change is there.
            expectedSites = sites(*db);
            if (failsBeforeRename(step, skip)) {
                QCOMPARE(expectedSites, before);
            }
            db.reset();
        }
        DatabasePtr again;
        QCOMPARE(DBEngine::OpenDatabase(file, false, false, statements::connectWith("new pw"), again).number(),
                 int(err::InvalidPassword));
        again = fixture::open(file, password);
        QVERIFY(again);
        QCOMPARE(sites(*again), expectedSites);
        // And the next save works.
        QVERIFY(fixture::addRecord(*again, "[Web Accounts]", {{"Web Site", "later"}}) > 0);
    }
};

QTEST_GUILESS_MAIN(tst_SaveSteps)
#include "tst_SaveSteps.moc"
