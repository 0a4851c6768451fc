// A save that fails at any step leaves the previous file whole and the program's data as it was.

#include "EngineFixture.h"
#include "FileOps.h"
#include "Statements.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <errno.h>
#include <fcntl.h>

using namespace dao;

namespace {

// Fails the n-th call of one kind of file operation with the given error.
class FailingOps : public FileOps
{
public:
    QString step;
    int error = EIO;
    int skip = 0; // calls of that kind to let through first
    bool partial = false;
    int failures = 0;

    bool failNow(const char* kind)
    {
        if (step != QLatin1String(kind)) {
            return false;
        }
        if (skip-- > 0) {
            return false;
        }
        ++failures;
        errno = error;
        return true;
    }
    int open(const char* path, int flags, mode_t mode) override
    {
        if ((flags & O_CREAT) && failNow("open")) {
            return -1;
        }
        return FileOps::open(path, flags, mode);
    }
    ssize_t write(int fd, const void* buffer, size_t count) override
    {
        if (failNow("write")) {
            if (partial && count > 1) {
                const ssize_t half = FileOps::write(fd, buffer, count / 2);
                partial = false;
                step.clear();
                (void)half;
                step = QStringLiteral("write");
                errno = error;
                return -1;
            }
            return -1;
        }
        return FileOps::write(fd, buffer, count);
    }
    int fsync(int fd) override { return failNow("fsync") ? -1 : FileOps::fsync(fd); }
    int close(int fd) override
    {
        if (failNow("close")) {
            FileOps::close(fd);
            return -1;
        }
        return FileOps::close(fd);
    }
    int rename(const char* from, const char* to) override { return failNow("rename") ? -1 : FileOps::rename(from, to); }
};

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class tst_FileFaults : public QObject
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

    void failedSaveKeepsThePreviousFile_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("partial");
        QTest::addColumn<int>("expected");
        QTest::newRow("temporary file not created") << "open" << EACCES << false << 3051;
        QTest::newRow("disk full at once") << "write" << ENOSPC << false << 3026;
        QTest::newRow("disk full half-way") << "write" << ENOSPC << true << 3026;
        QTest::newRow("write error half-way") << "write" << EIO << true << 3043;
        QTest::newRow("quota") << "write" << EDQUOT << false << 3026;
        QTest::newRow("flush fails") << "fsync" << EIO << false << 3043;
        QTest::newRow("close fails") << "close" << EIO << false << 3043;
        QTest::newRow("rename fails") << "rename" << EXDEV << false << 3043;
    }
    void failedSaveKeepsThePreviousFile()
    {
        QFETCH(QString, step);
        QFETCH(int, error);
        QFETCH(bool, partial);
        QFETCH(int, expected);
        const QString file = fixture::createDataFile(m_dir.path(), "pw", QString("fault%1.cvd").arg(++m_files));
        DatabasePtr db = fixture::open(file, "pw");
        const qint64 kept = fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "kept"}});
        QVERIFY(kept > 0);
        const QByteArray before = bytesOf(file);
        const auto files = QDir(m_dir.path()).entryList(QDir::Files);

        FailingOps ops;
        ops.step = step;
        ops.error = error;
        ops.partial = partial;
        setFileOps(&ops);

        // A change on its own, a committed transaction, and a password change: all fail alike.
        RecordsetPtr rs;
        QVERIFY(!db->OpenRecordset(statements::webAccountsView(), rs, dbOpenDynaset));
        QVERIFY(!rs->AddNew());
        QVERIFY(!rs->SetField("Web Site", "lost"));
        QCOMPARE(rs->Update().number(), expected);
        QCOMPARE(rs->RecordCount(), 1);

        QVERIFY(!DBEngine::BeginTrans());
        QVERIFY(!rs->MoveFirst());
        QVERIFY(!rs->Delete());
        QCOMPARE(DBEngine::CommitTrans().number(), expected);
        QVERIFY(!DBEngine::InTransaction());
        QVERIFY(ops.failures >= 2);
        setFileOps(nullptr);

        QCOMPARE(bytesOf(file), before);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), files); // no temporary file left
        // The program's data went back to what the file holds.
        QCOMPARE(fixture::column(*db, statements::webAccountsView(), "Web Site"), QStringList{"kept"});
        db.reset();
        rs.reset();
        DatabasePtr again = fixture::open(file, "pw");
        QVERIFY(again);
        QCOMPARE(fixture::column(*again, statements::webAccountsView(), "Web Site"), QStringList{"kept"});
        // And the next save works.
        QVERIFY(fixture::addRecord(*again, "[Web Accounts]", {{"Web Site", "later"}}) > kept);
    }

    void failedPasswordChangeKeepsTheOldPassword_data()
    {
        QTest::addColumn<QString>("step");
        QTest::newRow("write") << "write";
        QTest::newRow("fsync") << "fsync";
        QTest::newRow("rename") << "rename";
    }
    void failedPasswordChangeKeepsTheOldPassword()
    {
        QFETCH(QString, step);
        const QString file = fixture::createDataFile(m_dir.path(), "old", QString("pwfault%1.cvd").arg(++m_files));
        DatabasePtr db;
        QVERIFY(!DBEngine::OpenDatabase(file, true, false, statements::connectWith("old"), db));
        FailingOps ops;
        ops.step = step;
        setFileOps(&ops);
        QVERIFY(db->NewPassword("old", "new"));
        setFileOps(nullptr);
        // Still usable in memory under the old keys, and on disk under the old password.
        QVERIFY(fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "after"}}) > 0);
        db.reset();
        DatabasePtr again;
        QCOMPARE(DBEngine::OpenDatabase(file, false, false, statements::connectWith("new"), again).number(), 3031);
        again = fixture::open(file, "old");
        QVERIFY(again);
        QCOMPARE(fixture::column(*again, statements::webAccountsView(), "Web Site"), QStringList{"after"});
    }

    void failedCompactionLeavesNoDestination()
    {
        const QString file = fixture::createDataFile(m_dir.path(), "pw", QString("cfault%1.cvd").arg(++m_files));
        for (const char* step : {"open", "write", "fsync", "rename"}) {
            FailingOps ops;
            ops.step = QString::fromLatin1(step);
            setFileOps(&ops);
            QVERIFY(DBEngine::CompactDatabase(file, file + "Compact", statements::compactConnect("pw")));
            setFileOps(nullptr);
            QVERIFY2(!QFile::exists(file + "Compact"), step);
            QVERIFY2(!QFile::exists(file + "Compact.tmp"), step);
        }
        QVERIFY(fixture::open(file, "pw"));
    }
};

QTEST_GUILESS_MAIN(tst_FileFaults)
#include "tst_FileFaults.moc"
