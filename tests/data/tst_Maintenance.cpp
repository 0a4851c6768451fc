// Compaction and a new password keep a complete data file under its own name at every step.

#include "EngineFixture.h"
#include "Maintenance.h"
#include "Statements.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using testsupport::row;

namespace {

QStringList names(dao::Database& db)
{
    return fixture::column(db, statements::listView(Category::Web), "Web Site");
}

} // namespace

class tst_Maintenance : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;

    // A protected file with many records, most of them deleted again.
    void makeFile(const QString& password)
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_file = fixture::createDataFile(m_dir->path(), password);
        dao::DatabasePtr db = fixture::open(m_file, password);
        QVERIFY(!dao::DBEngine::BeginTrans());
        for (int i = 0; i < 300; ++i) {
            fixture::addRecord(*db, "[Web Accounts]",
                               {{"Web Site", QString("s%1").arg(i, 3, 10, QChar('0'))}, {"Notes", QString(300, 'x')}});
        }
        QVERIFY(!dao::DBEngine::CommitTrans());
        QVERIFY(!db->Execute("DELETE FROM [Web Accounts] WHERE [Web Site ID] > 2"));
    }

private slots:
    void initTestCase() { fixture::useCheapKdf(); }

    void compactionShrinksAndKeepsEverything_data()
    {
        QTest::addColumn<QString>("password");
        row("with password", "pw");
        row("without password", "");
    }
    void compactionShrinksAndKeepsEverything()
    {
        QFETCH(QString, password);
        makeFile(password);
        const QByteArray before = testsupport::readFile(m_file);
        QFile stale(maintenance::compactPath(m_file));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("left over from a run that was stopped");
        stale.close();
        QVERIFY(!maintenance::compactDataFile(m_file, password));
        QVERIFY(QFileInfo(m_file).size() < before.size() / 2);
        // The file as it was stays beside it, for nobody else to read.
        QCOMPARE(testsupport::readFile(maintenance::backupPath(m_file)), before);
        QCOMPARE(QFileInfo(maintenance::backupPath(m_file)).permissions() & 0x0fff, QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(QDir(m_dir->path()).entryList({"*Compact*", "*.tmp"}, QDir::Files), QStringList());
        if (!password.isEmpty()) {
            dao::DatabasePtr db;
            QCOMPARE(dao::DBEngine::OpenDatabase(m_file, false, false, statements::compactConnect(""), db).number(),
                     3031);
        }
        dao::DatabasePtr db = fixture::open(m_file, password);
        QVERIFY(db);
        QCOMPARE(names(*db), (QStringList{"s000", "s001"}));
    }

    // A compaction stopped between its renames leaves only its companion: a whole one is taken back
    // at the next start, a cut one never.
    void interruptedCompactionIsTakenBackWhenWhole_data()
    {
        QTest::addColumn<int>("cut");
        row("whole", 0);
        row("cut short", 10);
    }
    void interruptedCompactionIsTakenBackWhenWhole()
    {
        QFETCH(int, cut);
        makeFile("pw");
        const qint64 size = QFileInfo(m_file).size();
        QVERIFY(QFile::rename(m_file, maintenance::compactPath(m_file)));
        QVERIFY(QFile::resize(maintenance::compactPath(m_file), size - cut));
        QCOMPARE(maintenance::recoverInterruptedCompaction(m_file), cut == 0);
        QCOMPARE(QFile::exists(m_file), cut == 0);
        QCOMPARE(QFile::exists(maintenance::compactPath(m_file)), cut != 0);
        if (cut == 0) {
            QCOMPARE(names(*fixture::open(m_file, "pw")), (QStringList{"s000", "s001"}));
        }
    }

    void passwordChangeFailsWhileAnotherProgramHoldsTheFile()
    {
        makeFile("old");
        dao::Error e;
        {
            fixture::OtherProgram holder(m_file, false, "old");
            QVERIFY(holder.opened());
            e = maintenance::changePassword(m_file, "old", "new");
        }
        QCOMPARE(e.number(), 3045);
        QVERIFY(fixture::open(m_file, "old"));
        QVERIFY(!maintenance::changePassword(m_file, "old", "new"));
        dao::DatabasePtr db;
        QCOMPARE(dao::DBEngine::OpenDatabase(m_file, false, false, "MS Access;PWD=old", db).number(), 3031);
        QVERIFY(fixture::open(m_file, "new"));
        // The previous generation opens with the old password.
        QVERIFY(!dao::DBEngine::OpenDatabase(maintenance::backupPath(m_file), false, false, "MS Access;PWD=old", db));
    }
};

QTEST_GUILESS_MAIN(tst_Maintenance)
#include "tst_Maintenance.moc"
