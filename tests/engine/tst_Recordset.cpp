// Record sets: navigation, fields, changes, transactions and searching.

#include "EngineFixture.h"
#include "Statements.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

using testsupport::row;

using namespace dao;

class tst_Recordset : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;
    DatabasePtr freshDatabase()
    {
        const QString file = fixture::createDataFile(m_dir.path(), QString(), QString("rs%1.cvd").arg(++m_files));
        return fixture::open(file);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        fixture::useCheapKdf();
    }

    void idsKeepGrowingAfterDeletes()
    {
        DatabasePtr db = freshDatabase();
        const qint64 a = fixture::addRecord(*db, "[Credit Cards]", {{"Credit Card", "a"}});
        const qint64 b = fixture::addRecord(*db, "[Credit Cards]", {{"Credit Card", "b"}});
        QVERIFY(b > a);
        QVERIFY(!db->Execute("DELETE FROM [Credit Cards]"));
        const qint64 c = fixture::addRecord(*db, "[Credit Cards]", {{"Credit Card", "c"}});
        QVERIFY(c > b);
        QCOMPARE(db->LastInsertedKey(), c);
    }

    void snapshotsAreReadOnly()
    {
        DatabasePtr db = freshDatabase();
        RecordsetPtr rs;
        const QString union_ = statements::lookupList("E-Mail Address").statement;
        QVERIFY(!db->OpenRecordset(union_, rs));
        QCOMPARE(rs->AddNew().number(), 3027);
        QCOMPARE(db->OpenRecordset(union_, rs, dbOpenDynaset).number(), 3027);
    }

    // One pass that keeps no row behind: the same rows in the same order as a snapshot, never
    // backwards, never a change, even over a statement that would give an updatable record set.
    void forwardOnlyReadsEachRowOnce_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("statement");
        for (const int rows : {0, 1, 3}) {
            row(QByteArray::number(rows) + " rows, ordered", rows,
                QString("SELECT [Login], [Web Site] FROM [Web Accounts] ORDER BY [Web Site] DESC"));
            row(QByteArray::number(rows) + " rows, a whole table", rows, QString("Select * From [Web Accounts]"));
        }
    }
    void forwardOnlyReadsEachRowOnce()
    {
        QFETCH(int, rows);
        QFETCH(QString, statement);
        DatabasePtr db = freshDatabase();
        for (int i = 0; i < rows; ++i) {
            fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", QString("site %1").arg(i)}, {"Login", i}});
        }
        RecordsetPtr all, once;
        QVERIFY(!db->OpenRecordset(statement, all, dbOpenSnapshot));
        QVERIFY(!db->OpenRecordset(statement, once, dbOpenForwardOnly));
        QCOMPARE(once->Bof(), rows == 0);
        QCOMPARE(once->AddNew().number(), 3027);
        for (int i = 0; i < rows; ++i) {
            QVERIFY(!all->Move(i));
            QVERIFY(!once->Eof());
            QCOMPARE(once->RecordCount(), i + 1);
            QCOMPARE(once->Value("Login"), all->Value("Login"));
            QCOMPARE(once->Value("Web Site"), all->Value("Web Site"));
            QCOMPARE(once->MovePrevious().number(), 3021);
            QCOMPARE(once->MoveLast().number(), 3021);
            QCOMPARE(once->Move(i + 1).number(), 3021);
            QVERIFY(!once->MoveNext());
        }
        QVERIFY(once->Eof());
        QCOMPARE(once->MoveNext().number(), 3021);
    }

    void badStatementsAreRefused_data()
    {
        QTest::addColumn<QString>("statement");
        row("syntax", "Selec * Frm x");
        row("no table", "Select * From [Nothing]");
        row("two statements", "Select * From [Web Accounts]; DELETE FROM [Web Accounts]");
    }
    void badStatementsAreRefused()
    {
        QFETCH(QString, statement);
        DatabasePtr db = freshDatabase();
        fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "kept"}});
        RecordsetPtr rs;
        const Error e = db->OpenRecordset(statement, rs);
        QCOMPARE(e.number(), 3075);
        QVERIFY(!e.description().isEmpty());
        QCOMPARE(fixture::column(*db, statements::listView(Category::Web), "Web Site"), QStringList{"kept"});
    }

    void rollbackLeavesTheFileUnchanged()
    {
        const QString file = fixture::createDataFile(m_dir.path(), "pw", "rollback.cvd");
        DatabasePtr db = fixture::open(file, "pw");
        fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "before"}});
        const QByteArray before = testsupport::readFile(file);
        QVERIFY(!DBEngine::BeginTrans());
        QCOMPARE(DBEngine::BeginTrans().number(), 3003);
        fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "during"}});
        QVERIFY(!db->Execute("DELETE FROM [Web Accounts] WHERE [Web Site] = 'before'"));
        QCOMPARE(testsupport::readFile(file), before); // nothing written before the commit
        QVERIFY(!DBEngine::Rollback());
        QCOMPARE(testsupport::readFile(file), before);
        QCOMPARE(fixture::column(*db, statements::listView(Category::Web), "Web Site"), QStringList{"before"});
        QCOMPARE(DBEngine::CommitTrans().number(), 3034);
    }

    void findFirst_data()
    {
        QTest::addColumn<QString>("criteria");
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("noMatch");
        QTest::addColumn<QString>("found");
        row("by name", "[Web Site] = 'Beta'", 0, false, "Beta");
        row("case ignored", "[Web Site] = 'beta'", 0, false, "Beta");
        row("apostrophe", "[Web Site] = 'O'Hare Club'", 0, false, "O'Hare Club");
        row("two apostrophes", "[Web Site] = 'Bob's 'n' Ann's'", 0, false, "Bob's 'n' Ann's");
        row("quote only", "[Web Site] = '''", 0, false, "'");
        row("injection is just text", "[Web Site] = 'x' OR 1=1 OR 'x'", 0, true, "Alpha");
        row("no such name", "[Web Site] = 'Gamma'", 0, true, "Alpha");
        row("by id", "[Web Site ID] = 2", 0, false, "Beta");
        row("missing id", "[Web Site ID] = 99", 0, true, "Alpha");
        row("unknown field", "[Nope] = 1", 3265, false, "Alpha");
        row("garbage", "Web Site ==", 3077, false, "Alpha");
        row("unquoted text", "[Web Site] = Beta", 3077, false, "Alpha");
    }
    void findFirst()
    {
        QFETCH(QString, criteria);
        QFETCH(int, error);
        QFETCH(bool, noMatch);
        QFETCH(QString, found);
        DatabasePtr db = freshDatabase();
        for (const char* name : {"Alpha", "Beta", "O'Hare Club", "Bob's 'n' Ann's", "'"}) {
            fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", name}});
        }
        RecordsetPtr rs;
        QVERIFY(!db->OpenRecordset(statements::listView(Category::Web), rs));
        QVERIFY(!rs->FindFirst("[Web Site] = 'Alpha'"));
        QCOMPARE(rs->FindFirst(criteria).number(), error);
        QCOMPARE(rs->NoMatch(), noMatch);
        QCOMPARE(rs->Value("Web Site").toString(), found); // no match leaves the position
        QCOMPARE(fixture::column(*db, statements::listView(Category::Web), "Web Site").size(), 5);
    }
};

QTEST_GUILESS_MAIN(tst_Recordset)
#include "tst_Recordset.moc"
