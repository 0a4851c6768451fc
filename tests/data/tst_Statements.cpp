// The statement texts that are built from pieces, and the connect texts.

#include "Statements.h"
#include "TestSupport.h"

#include <QTest>

using testsupport::row;

class tst_Statements : public QObject
{
    Q_OBJECT

private slots:
    void recordStatements_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<qint64>("id");
        QTest::addColumn<QString>("load");
        QTest::addColumn<QString>("save");
        row("personal", "Personal", qint64(0), "Select * From [Personal Information]",
            "Select * From [Personal Information]");
        row("new credit card", "Credit", qint64(0), "Select * From [Credit Cards] Where [Credit Card ID] = 0;",
            "Select * From [Credit Cards]");
        row("travel", "Travel", qint64(7), "Select * From [Travel Programs] Where [Program ID] = 7;",
            "Select * From [Travel Programs]Where [Program ID] = 7;");
        row("web, 32-bit id", "Web", qint64(2147483647),
            "Select * From [Web Accounts] Where [Web Site ID] = 2147483647;",
            "Select * From [Web Accounts]Where [Web Site ID] = 2147483647;");
    }
    void recordStatements()
    {
        QFETCH(QString, category);
        QFETCH(qint64, id);
        QFETCH(QString, load);
        QFETCH(QString, save);
        const CategoryInfo* kind = categories::named(category);
        QVERIFY(kind);
        QCOMPARE(statements::loadRecord(kind->kind, id), load);
        QCOMPARE(statements::saveRecord(kind->kind, id), save);
    }

    void connectAndCriteriaTextsKeepWhatWasTyped()
    {
        QCOMPARE(statements::connectFirst(), QString("MS Access;PWD=''"));
        QCOMPARE(statements::connectWith(" a;b=c "), QString("MS Access;PWD= a;b=c "));
        QCOMPARE(statements::compactConnect("x"), QString(";PWD=x"));
        QCOMPARE(statements::criteriaById(Category::Credit, 12), QString("[Credit Card ID] = 12"));
        QCOMPARE(statements::criteriaByWebSite("O'Hare Club"), QString("[Web Site] = 'O'Hare Club'"));
    }
};

QTEST_GUILESS_MAIN(tst_Statements)
#include "tst_Statements.moc"
