// The drop-down lists on seeded data: what each offers, once, in order.

#include "EngineFixture.h"
#include "LookupLists.h"

#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

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
        const auto web = [&db](QVariant site, QVariant login, QVariant password, QVariant type, QVariant mail) {
            fixture::addRecord(db, "[Web Accounts]",
                               {{"Web Site", site},
                                {"Login", login},
                                {"Password", password},
                                {"Site Type", type},
                                {"E-Mail Address", mail}});
        };
        const auto add = [&db](const QString& table, const QVariantMap& values) {
            fixture::addRecord(db, table, values);
        };
        const QVariant null;
        add("[Personal Information]", {{"Name", "Zoe Smith"}, {"E-Mail Address", "me@example.org"}});
        web("Shop", "4you", "b-secret", "hotel", "ME@example.org");
        web("shop", "you4", "a-secret", "Store", "other@example.org");
        web("Bank", "", null, "", null);
        web(null, "apple", "b-secret", null, null);
        add("[Travel Programs]", {{"Travel Program", "Inn"}, {"Program Type", "Hotel"}, {"Account Name", "banana"}});
        add("[Travel Programs]", {{"Travel Program", "Inn 2"}, {"Program Type", "Hotel"}, {"Account Name", "Cherry"}});
        add("[Travel Programs]", {{"Travel Program", "Air"}, {"Program Type", "air"}});
        add("[Credit Cards]", {{"Credit Card", "Gold"}, {"Account Name", "Apple"}});
        add("[Credit Cards]", {{"Credit Card", "Blue"}, {"Account Name", "banana"}});
    }

    void lists_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char* name, const char* kind, const QStringList& expected) {
            QTest::newRow(name) << QString::fromLatin1(kind) << expected;
        };
        // Where a repeat differs only in case, which spelling survives is the engine's choice: compared folded.
        row("e-mail: union drops the repeat", "E-Mail Address", {"me@example.org", "other@example.org"});
        row("web accounts: repeats kept, Null adds nothing", "Web Account", {"Bank", "Shop", "shop"});
        row("program types", "Program Type", {"air", "Hotel"});
        row("names from three tables", "Names", {"Apple", "banana", "Cherry", "Zoe Smith"});
        row("logins: digit first left out", "Login", {"apple", "you4"});
        row("passwords once", "Password", {"a-secret", "b-secret"});
        row("site types: Hotel once", "Site Type", {"air", "hotel", "store"});
        row("unknown kind", "Nothing", {});
    }
    void lists()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, expected);
        QStringList got = lookup::values(*m_db, kind);
        if (kind == "E-Mail Address" || kind == "Site Type") {
            for (QString& value : got) {
                value = value.toLower();
            }
        }
        if (kind == "Site Type") {
            got.sort();
        }
        QCOMPARE(got, expected);
    }

    void statesInAlphabeticalOrder()
    {
        const QStringList states = lookup::values(*m_db, "States");
        QCOMPARE(states.size(), 60);
        QVERIFY(states.contains("DC"));
        QVERIFY(std::is_sorted(states.begin(), states.end()));
    }
};

QTEST_GUILESS_MAIN(tst_LookupLists)
#include "tst_LookupLists.moc"
