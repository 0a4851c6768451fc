// What Find finds: read from a real data file, matched whatever the case, anywhere in a field but
// never across two, every character literally, never in a password, PIN or card number.

#include "EngineFixture.h"
#include "SearchIndex.h"

#include <QTemporaryDir>
#include <QTest>

class tst_SearchIndex : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        fixture::useCheapKdf();
        QVERIFY(m_dir.isValid());
        m_db = fixture::open(fixture::createDataFile(m_dir.path()));
        const auto web = [this](const char* site, const char* login, const char* password, const char* notes) {
            return fixture::addRecord(*m_db, "[Web Accounts]",
                                      {{"Web Site", site},
                                       {"Login", login},
                                       {"Password", password},
                                       {"Notes", notes},
                                       {"URL", "https://mail.example.org/?q=a&b"}}) > 0;
        };
        QVERIFY(web("Mail & More", "jo@x.com_P!1#", "hunter2", "50% off [old] \"q\" O'Brien\nsecond line"));
        QVERIFY(web("Bank", "a_b", "s3cret", "*?[!0-9]"));
        QVERIFY(web("bank of ÄRGER", "axb", "", ""));
        fixture::addRecord(*m_db, "[Credit Cards]",
                           {{"Credit Card", "Gold Card"},
                            {"Account Name", "Pat Example"},
                            {"Account Number", "4111111111111111"},
                            {"Notes", "50%_"}});
        fixture::addRecord(*m_db, "[Travel Programs]",
                           {{"Travel Program", "Miles"}, {"PIN Number", "2468"}, {"Web Account", "Bank"}});
        QVERIFY(!m_index.load(*m_db));
    }

    void matches_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        const auto row = [](const char* name, const QString& text, const QStringList& found) {
            QTest::newRow(name) << text << found;
        };
        row("empty finds nothing", "", {});
        row("any case, page order", "BANK", {"Travel:Miles", "Web:Bank", "Web:bank of ÄRGER"});
        row("non-ASCII case", "ärger", {"Web:bank of ÄRGER"});
        row("part of a login", "@x.com", {"Web:Mail & More"});
        row("web address", "mail.example", {"Web:Bank", "Web:bank of ÄRGER", "Web:Mail & More"});
        row("percent is literal", "50%", {"Credit:Gold Card", "Web:Mail & More"});
        row("underscore is literal", "a_b", {"Web:Bank"});
        row("quotes", "o'brien", {"Web:Mail & More"});
        row("brackets", "[old]", {"Web:Mail & More"});
        row("pattern characters", "[!0-9]", {"Web:Bank"});
        row("star and question mark", "*?", {"Web:Bank"});
        row("card holder", "pat ex", {"Credit:Gold Card"});
        row("notes past a line break", "second", {"Web:Mail & More"});
        row("never across two fields", "moremail", {});
        row("never a password", "hunter2", {});
        row("never a card number", "4111", {});
        row("never a PIN", "2468", {});
    }
    void matches()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        QCOMPARE(names(m_index.search(text)), found);
        // Typing on from any part of it narrows to the same records.
        for (qsizetype length = 1; length < text.size(); ++length) {
            const QList<int> part = m_index.search(text.left(length));
            QCOMPARE(names(m_index.search(text, &part)), found);
        }
    }

private:
    QStringList names(const QList<int>& rows) const
    {
        QStringList list;
        for (const int row : rows) {
            const recordtools::Record& record = m_index.record(row);
            list << categories::info(recordtools::pageCategory(record.page)).name + QLatin1Char(':') + record.name;
        }
        return list;
    }

    QTemporaryDir m_dir;
    dao::DatabasePtr m_db;
    recordtools::SearchIndex m_index;
};

QTEST_GUILESS_MAIN(tst_SearchIndex)
#include "tst_SearchIndex.moc"
