// Saves into a real, tiny file system until it is full: every refused save says so, and the
// file keeps every save that was reported done. Needs the right to mount a tmpfs (root, or a
// container that allows it); skipped with the reason elsewhere.

#include "EngineFixture.h"
#include "Maintenance.h"
#include "Statements.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace dao;

class tst_FullDisk : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_mountPoint;
    bool m_mounted = false;

private slots:
    void initTestCase()
    {
        fixture::useCheapKdf();
        QVERIFY(m_mountPoint.isValid());
        QProcess mount;
        mount.start("mount", {"-t", "tmpfs", "-o", "size=192k,mode=0700", "tmpfs", m_mountPoint.path()});
        if (!mount.waitForFinished(10000) || mount.exitStatus() != QProcess::NormalExit || mount.exitCode() != 0) {
            QSKIP("mounting a tiny tmpfs is not permitted here; the full-disk case runs where it is (as root)");
        }
        m_mounted = true;
    }
    void cleanupTestCase()
    {
        if (m_mounted) {
            QProcess::execute("umount", {m_mountPoint.path()});
        }
    }

    void savesUntilTheDiskIsFull()
    {
        const QString file = fixture::createDataFile(m_mountPoint.path(), "pw");
        QVERIFY(!file.isEmpty());
        DatabasePtr db = fixture::open(file, "pw");
        QVERIFY(db);
        const QString notes(3000, QLatin1Char('n'));
        QStringList saved;
        Error refused;
        for (int i = 0; i < 500 && refused.ok(); ++i) {
            RecordsetPtr rs;
            QVERIFY(!db->OpenRecordset("Select * From [Web Accounts]", rs, dbOpenDynaset));
            QVERIFY(!rs->AddNew());
            QVERIFY(!rs->SetField("Web Site", QString::number(i)));
            QVERIFY(!rs->SetField("Notes", notes + QString::number(i)));
            refused = rs->Update();
            if (refused.ok()) {
                saved << QString::number(i);
            }
        }
        QCOMPARE(refused.number(), int(err::DiskFull));
        QVERIFY(!refused.description().isEmpty());
        QVERIFY(saved.size() > 3);

        // A transaction is refused alike.
        QVERIFY(!DBEngine::BeginTrans());
        QVERIFY(fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "in vain"}, {"Notes", notes}}) > 0);
        QCOMPARE(DBEngine::CommitTrans().number(), int(err::DiskFull));
        // So is a compaction, whose copy does not fit beside the file.
        {
            QFile filler(m_mountPoint.filePath("filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly));
            while (filler.write(QByteArray(1024, 'f')) == 1024 && filler.flush()) {
            }
            QCOMPARE(maintenance::compactDataFile(file, "pw").number(), int(err::DiskFull));
            filler.remove();
        }

        const QStringList leftovers = QDir(m_mountPoint.path()).entryList({"*.tmp"}, QDir::Files);
        QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(' ')));
        auto sorted = [](QStringList list) {
            std::sort(list.begin(), list.end(),
                      [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); });
            return list;
        };
        QCOMPARE(sorted(fixture::column(*db, "Select * From [Web Accounts]", "Web Site")), saved);
        db.reset();
        DatabasePtr again = fixture::open(file, "pw");
        QVERIFY(again);
        QCOMPARE(sorted(fixture::column(*again, "Select * From [Web Accounts]", "Web Site")), saved);
    }
};

QTEST_GUILESS_MAIN(tst_FullDisk)
#include "tst_FullDisk.moc"
