// Every step of a save, a compaction and a password change can fail; each failure reaches the
// caller as an error, and the file, the folder and the program's data stay as they were.

#include "EngineFixture.h"
#include "Maintenance.h"
#include "Statements.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <optional>

using testsupport::row;

using namespace dao;

namespace {

QStringList sites(Database& db)
{
    return fixture::column(db, statements::listView(Category::Web), QStringLiteral("Web Site"));
}

// Whole files an operation writes: a compaction copies the file to its backup, writes its
// companion and renames it over the data file; a password change copies the backup, then saves.
int filesWritten(const QString& operation)
{
    return operation == QLatin1String("compact") || operation == QLatin1String("password") ? 2 : 1;
}

// The last rename is the moment the new file takes the old one's place.
bool failsBeforeRename(const QString& operation, const QString& step, int skip)
{
    const int last = operation == QLatin1String("compact") ? 2 : filesWritten(operation) - 1;
    return skip < last || (step != QLatin1String("open folder") && step != QLatin1String("flush folder"));
}

// The folder's files, but for the backup an operation keeps on purpose.
QStringList filesBeside(const QString& file)
{
    QStringList names = QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files);
    names.removeAll(QFileInfo(maintenance::backupPath(file)).fileName());
    return names;
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

    void everyFailedStepKeepsFileAndData_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("skip");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("expected");
        // Every step of every whole file written; a compaction's last rename and folder flush
        // put its companion in place.
        const char* const steps[] = {"create", "write", "short write", "flush", "close", "rename", "flush folder"};
        const char* const nth[] = {"", " (second)", " (third)"};
        const std::pair<int, int> errors[] = {{ENOSPC, err::DiskFull}, {EIO, err::WriteError}};
        for (const char* operation : {"save", "commit", "compact", "password"}) {
            for (const char* step : steps) {
                const bool swap = qstrcmp(operation, "compact") == 0 &&
                                  (qstrcmp(step, "rename") == 0 || qstrcmp(step, "flush folder") == 0);
                for (int skip = 0; skip < filesWritten(operation) + int(swap); ++skip) {
                    for (const auto& [error, expected] : errors) {
                        QTest::addRow("%s, %s%s, %s", operation, step, nth[skip],
                                      error == ENOSPC ? "disk full" : "I/O error")
                            << operation << step << skip << error << expected;
                    }
                }
            }
        }
        // A file is written in pieces: the header, the payload, the tag. The last can fail too.
        row("save, write, the tag", "save", "write", 2, ENOSPC, int(err::DiskFull));
        row("save, short write, the tag", "save", "short write", 2, EIO, int(err::WriteError));
        // The system's other refusals, as a save reports them.
        row("save, create, no permission", "save", "create", 0, EACCES, int(err::NoPermission));
        row("save, write, over quota", "save", "write", 0, EDQUOT, int(err::DiskFull));
        row("save, rename, other device", "save", "rename", 0, EXDEV, int(err::WriteError));
    }
    void everyFailedStepKeepsFileAndData()
    {
        QFETCH(QString, operation);
        QFETCH(QString, step);
        QFETCH(int, skip);
        QFETCH(int, error);
        QFETCH(int, expected);
        const QString file = fixture::createDataFile(m_dir.path(), "pw", QStringLiteral("steps%1.cvd").arg(++m_files));
        DatabasePtr db = fixture::open(file, "pw");
        QVERIFY(db);
        QVERIFY(fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "kept"}}) > 0);
        QVERIFY(fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "also kept"}}) > 0);
        const QStringList before = sites(*db);
        const QByteArray bytesBefore = testsupport::readFile(file);
        const QStringList listing = filesBeside(file);

        Error e;
        QString password = QStringLiteral("pw");
        std::optional<fixture::FailAt> ops;
        if (operation == QLatin1String("save")) {
            ops.emplace(step, skip + 1, error);
            RecordsetPtr rs;
            QVERIFY(!db->OpenRecordset(statements::listView(Category::Web), rs, dbOpenDynaset));
            QVERIFY(!rs->AddNew());
            QVERIFY(!rs->SetField("Web Site", "new"));
            e = rs->Update();
        } else if (operation == QLatin1String("commit")) {
            ops.emplace(step, skip + 1, error);
            QVERIFY(!DBEngine::BeginTrans());
            QVERIFY(fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "new"}}) > 0);
            RecordsetPtr rs;
            QVERIFY(!db->OpenRecordset(statements::listView(Category::Web), rs, dbOpenDynaset));
            QVERIFY(!rs->Delete());
            e = DBEngine::CommitTrans();
            QVERIFY(!DBEngine::InTransaction());
        } else {
            db->Close();
            ops.emplace(step, skip + 1, error);
            e = operation == QLatin1String("compact") ? maintenance::compactDataFile(file, "pw")
                                                      : maintenance::changePassword(file, "pw", "new pw");
        }
        const int failures = ops->failures;
        ops.reset();
        QVERIFY2(failures > 0, "the step was never reached");

        QCOMPARE(e.number(), expected);
        QVERIFY(!e.description().isEmpty());
        QCOMPARE(filesBeside(file), listing); // no temporary file or companion left
        if (failsBeforeRename(operation, step, skip)) {
            QCOMPARE(testsupport::readFile(file), bytesBefore);
        }
        QStringList expectedSites = before;
        if (db->IsOpen()) {
            // The program shows what the file holds. Once the new file has taken the old one's
            // place, a failed flush of the folder is still reported, but the change is there.
            expectedSites = sites(*db);
            if (failsBeforeRename(operation, step, skip)) {
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

    // A writer that died before its rename left its temporary file beside the data file; the
    // first save of the file in a process takes away those old enough, and nothing else.
    void deadWritersFilesGo_data()
    {
        QTest::addColumn<QString>("name"); // %1: the data file's name
        QTest::addColumn<int>("minutes");
        QTest::addColumn<bool>("link");
        QTest::addColumn<bool>("kept");
        row("a dead writer's", "%1.4242-0123456789ab.tmp", 60, false, false);
        row("one at work", "%1.4242-0123456789ab.tmp", 1, false, true);
        row("another file's", "x%1.4242-0123456789ab.tmp", 60, false, true);
        row("not such a name", "%1.4242-0123456789ab.tmp.old", 60, false, true);
        row("a link to elsewhere", "%1.4242-0123456789ab.tmp", 60, true, true);
    }
    void deadWritersFilesGo()
    {
        QFETCH(QString, name);
        QFETCH(int, minutes);
        QFETCH(bool, link);
        QFETCH(bool, kept);
        QTemporaryDir dir;
        const QString data = QStringLiteral("dead.cvd");
        const QString left = dir.filePath(name.arg(data));
        const QString elsewhere = m_dir.filePath(QStringLiteral("elsewhere%1").arg(++m_files));
        QFile file(link ? elsewhere : left);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("sealed bytes") > 0);
        file.close();
        QVERIFY(!link || QFile::link(elsewhere, left));
        const struct timespec old = {::time(nullptr) - minutes * 60, 0};
        const struct timespec times[2] = {old, old};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(left).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
        DatabasePtr db = fixture::open(fixture::createDataFile(dir.path(), "pw", data), "pw");
        QVERIFY(db && fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "saved"}}) > 0);
        QCOMPARE(QFileInfo(left).isSymLink() || QFileInfo::exists(left), kept);
        QVERIFY(!link || QFileInfo::exists(elsewhere));
    }
};

QTEST_GUILESS_MAIN(tst_SaveSteps)
#include "tst_SaveSteps.moc"
