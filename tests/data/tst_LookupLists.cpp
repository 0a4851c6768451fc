// The drop-down lists on seeded data: what each offers, once, in order.

#include "EngineFixture.h"
#include "LookupLists.h"
#include "Schema.h"

#include <QTemporaryDir>
#include <QTest>

class tst_LookupLists : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    dao::DatabasePtr m_db;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = fixture::open(fixture::createDataFile(m_dir.path()));
        QVERIFY(m_db);
        dao::Database& db = *m_db;
        fixture::addRecord(db, "[Personal Information]", {{"Name", "Zoe Smith"}, {"E-Mail Address", "me@example.org"}});
        fixture::addRecord(db, "[Web Accounts]",
                           {{"Web Site", "Shop"},
                            {"Login", "4you"},
                            {"Password", "b-secret"},
                            {"Site Type", "hotel"},
                            {"E-Mail Address", "ME@example.org"}});
        fixture::addRecord(db, "[Web Accounts]",
                           {{"Web Site", "shop"},
                            {"Login", "you4"},
                            {"Password", "a-secret"},
                            {"Site Type", "Store"},
                            {"E-Mail Address", "other@example.org"}});
        fixture::addRecord(db, "[Web Accounts]",
                           {{"Web Site", "Bank"},
                            {"Login", ""},
                            {"Password", QVariant()},
                            {"Site Type", ""},
                            {"E-Mail Address", QVariant()}});
        fixture::addRecord(db, "[Web Accounts]",
                           {{"Web Site", QVariant()}, {"Login", "apple"}, {"Password", "b-secret"}});
        fixture::addRecord(db, "[Travel Programs]",
                           {{"Travel Program", "Inn"}, {"Program Type", "Hotel"}, {"Account Name", "banana"}});
        fixture::addRecord(db, "[Travel Programs]",
                           {{"Travel Program", "Inn 2"}, {"Program Type", "Hotel"}, {"Account Name", "Cherry"}});
        fixture::addRecord(db, "[Travel Programs]", {{"Travel Program", "Air"}, {"Program Type", "air"}});
        fixture::addRecord(db, "[Credit Cards]", {{"Credit Card", "Gold"}, {"Account Name", "Apple"}});
        fixture::addRecord(db, "[Credit Cards]", {{"Credit Card", "Blue"}, {"Account Name", "banana"}});
    }

    void lists_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("e-mail: union drops the repeat")
            << "E-Mail Address" << QStringList{"ME@example.org", "other@example.org"};
        QTest::newRow("web accounts: repeats kept, Null adds nothing")
            << "Web Account" << QStringList{"Bank", "Shop", "shop"};
        QTest::newRow("program types") << "Program Type" << QStringList{"air", "Hotel"};
        QTest::newRow("names from three tables") << "Names" << QStringList{"Apple", "banana", "Cherry", "Zoe Smith"};
        QTest::newRow("logins: digit first left out") << "Login" << QStringList{"apple", "you4"};
        QTest::newRow("passwords once") << "Password" << QStringList{"a-secret", "b-secret"};
        QTest::newRow("site types: Hotel once") << "Site Type" << QStringList{"hotel", "Store", "air"};
        QTest::newRow("unknown kind") << "Nothing" << QStringList{};
    }
    void lists()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, expected);
        QStringList got = lookup::values(*m_db, kind);
        if (kind == "Site Type") {
            // Which spelling of a repeated value survives is the engine's choice; compare once each.
            QCOMPARE(got.size(), 3);
            QVERIFY(got.contains("Store", Qt::CaseInsensitive));
            QVERIFY(got.contains("hotel", Qt::CaseInsensitive));
            QVERIFY(got.contains("air", Qt::CaseInsensitive));
            return;
        }
        if (kind == "E-Mail Address") {
            QCOMPARE(got.size(), 2);
            QCOMPARE(got.at(0).toLower(), QString("me@example.org"));
            QCOMPARE(got.at(1), QString("other@example.org"));
            return;
        }
        QCOMPARE(got, expected);
    }

    void statesInAlphabeticalOrder()
    {
        const QStringList states = lookup::values(*m_db, "States");
        QCOMPARE(states, schema::stateCodes());
        QVERIFY(states.contains("DC"));
        QVERIFY(states.contains("PR"));
        QVERIFY(states.contains("NY"));
        QCOMPARE(states.size(), 60);
        QStringList sorted = states;
        sorted.sort();
        QCOMPARE(states, sorted);
    }

    void emptyTablesGiveEmptyLists()
    {
        dao::DatabasePtr db = fixture::open(fixture::createDataFile(m_dir.path(), QString(), "empty.cvd"));
        for (const char* kind :
             {"E-Mail Address", "Web Account", "Program Type", "Names", "Login", "Password", "Site Type"}) {
            QVERIFY2(lookup::values(*db, kind).isEmpty(), kind);
        }
    }
};

QTEST_GUILESS_MAIN(tst_LookupLists)
#include "tst_LookupLists.moc"
