// The report's rules, worked out from a real data file: shared, empty and short web passwords
// (characters, not bytes), and cards by their last valid day.

#include "EngineFixture.h"
#include "PasswordReport.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

struct Row
{
    bool web;
    const char* name;
    QString stored; // the password, or the card's expiration date
    QStringList reasons;
};

// Today is 6 December 2026.
const QList<Row>& rows()
{
    static const QList<Row> table{
        {true, "long, own", "correct horse battery", {}},
        {true, "empty", "", {"no password"}},
        {true, "11 characters", "abcdefghijk", {"short password (11 characters)"}},
        {true, "12 characters", "abcdefghijkl", {}},
        {true, "12 characters, 24 bytes", "ÄÖÜäöüÄÖÜäöü", {}},
        {true, "shared by three a", "Same-Password-1!", {"password shared with 2 other accounts"}},
        {true, "shared by three b", "Same-Password-1!", {"password shared with 2 other accounts"}},
        {true, "shared by three c", "Same-Password-1!", {"password shared with 2 other accounts"}},
        {true, "differs in case only", "same-password-1!", {}},
        {true, "shared and short a", "pw", {"password shared with 1 other account", "short password (2 characters)"}},
        {true, "shared and short b", "pw", {"password shared with 1 other account", "short password (2 characters)"}},
        {false, "expired last month", "1126", {"expired"}},
        {false, "valid to the end of this month", "1226", {"expires in 25 days"}},
        {false, "month of one digit", "127", {"expires in 56 days"}},
        {false, "beyond 60 days", "0227", {}},
        {false, "no month 13", "1326", {}},
        {false, "no date", "", {}},
    };
    return table;
}

} // namespace

class tst_PasswordReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        fixture::useCheapKdf();
        QVERIFY(m_dir.isValid());
        dao::DatabasePtr db = fixture::open(fixture::createDataFile(m_dir.path()));
        for (const Row& row : rows()) {
            const QVariantMap values = row.web
                                           ? QVariantMap{{"Web Site", row.name}, {"Password", row.stored}}
                                           : QVariantMap{{"Credit Card", row.name}, {"Expiration Date", row.stored}};
            QVERIFY(fixture::addRecord(*db, row.web ? "[Web Accounts]" : "[Credit Cards]", values) > 0);
        }
        QVERIFY(!recordtools::passwordReport(*db, QDate(2026, 12, 6), m_findings));
    }

    void findings_data()
    {
        QTest::addColumn<QStringList>("reasons");
        for (const Row& row : rows()) {
            QTest::newRow(row.name) << row.reasons;
        }
    }
    void findings()
    {
        QFETCH(QStringList, reasons);
        QStringList found;
        for (const recordtools::Finding& finding : std::as_const(m_findings)) {
            if (finding.record.name == QLatin1String(QTest::currentDataTag())) {
                found << finding.reason;
            }
        }
        QCOMPARE(found, reasons);
    }

private:
    QTemporaryDir m_dir;
    QList<recordtools::Finding> m_findings;
};

QTEST_GUILESS_MAIN(tst_PasswordReport)
#include "tst_PasswordReport.moc"
