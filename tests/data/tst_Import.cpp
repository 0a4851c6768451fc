// Import and export of CSV files: the reader's quoting, line ends and byte-order mark, the peers'
// layouts from checked-in samples, the faults a person must be told about with their line,
// duplicates, all-or-nothing writing, and the round trip of an export (which holds the writer).

#include "CsvFile.h"
#include "EngineFixture.h"
#include "Export.h"
#include "Import.h"
#include "Statements.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

using testsupport::row;
using Records = QList<QStringList>;

namespace {

const QString kWebFields = QStringLiteral("Web Site|Site Type|URL|Login|Password|Notes");

QString webText(const transfer::Record& record)
{
    QStringList values;
    for (const QString& field : kWebFields.split('|')) {
        values << record.value(field);
    }
    return values.join('|');
}

// Every record of the three lists, every field but the key, in the order they were added.
QStringList everyRecord(dao::Database& db)
{
    QStringList out;
    for (const char* kind : {"Credit", "Travel", "Web"}) {
        const CategoryInfo* category = categories::named(kind);
        dao::RecordsetPtr rows;
        if (db.OpenRecordset(statements::wholeTable(category->kind), rows)) {
            return {};
        }
        while (!rows->Eof()) {
            QStringList values{kind};
            for (const QString& field : rows->FieldNames().mid(1)) {
                values << rows->Value(field).toString();
            }
            out << values.join('|');
            (void)rows->MoveNext();
        }
    }
    return out;
}

QList<transfer::Record> readOrFail(const QByteArray& bytes)
{
    QList<transfer::Record> records;
    QString message;
    if (!transfer::readExport(bytes, records, message)) {
        qWarning() << message;
    }
    return records;
}

} // namespace

class tst_Import : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { fixture::useCheapKdf(); }

    void readsRecordsAndTheirLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Records>("records");
        QTest::addColumn<QList<int>>("lines");
        auto row = [](const char* name, const QByteArray& bytes, const Records& records, const QList<int>& lines) {
            QTest::newRow(name) << bytes << records << lines;
        };
        row("plain, no end of line", "a,b\nc,d", {{"a", "b"}, {"c", "d"}}, {1, 2});
        row("CRLF and CR", "a,b\r\nc,d\re,f\r\n", {{"a", "b"}, {"c", "d"}, {"e", "f"}}, {1, 2, 3});
        row("byte-order mark", "\xEF\xBB\xBFname,url\n", {{"name", "url"}}, {1});
        row("empty lines left out", "\n\na\n\r\n\nb\n", {{"a"}, {"b"}}, {3, 6});
        row("empty fields", ",\"\",\n", {{"", "", ""}}, {1});
        row("quoted comma and quote", "\"a,b\",\"say \"\"hi\"\"\"\n", {{"a,b", "say \"hi\""}}, {1});
        row("line breaks inside quotes", "\"1\n2\r\n3\",x\ny,z\n", {{"1\n2\r\n3", "x"}, {"y", "z"}}, {1, 4});
        row("blanks kept", " a ,\" b \"\n", {{" a ", " b "}}, {1});
        row("UTF-8", "Caf\xC3\xA9,\xE2\x82\xAC\n", {{"Café", "€"}}, {1});
    }
    void readsRecordsAndTheirLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Records, records);
        QFETCH(QList<int>, lines);
        csv::Table table;
        csv::Fault fault;
        QVERIFY2(csv::read(bytes, table, fault), qPrintable(fault.reason));
        QCOMPARE(table.records, records);
        QCOMPARE(table.lines, lines);
    }

    void peersExportsBecomeWebAccounts_data()
    {
        QTest::addColumn<QString>("sample");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected"); // kWebFields
        auto row = [](const char* name, const char* sample, int count, int index, const QString& expected) {
            QTest::newRow(name) << sample << count << index << expected;
        };
        row("keeper: group, quotes, lines, TOTP kept in the notes", "keeper.csv", 2, 0,
            "Example Shop|Shopping|https://shop.example.com/login|ann@example.com|s3cr,et\"q|first line\n"
            "second, with \"quotes\"\nTOTP: otpauth://totp/shop?secret=ABC");
        row("keeper: root group is no type", "keeper.csv", 2, 1, "Bank||https://bank.example.com|ann|pw|");
        row("vault with BOM and CRLF: folder, custom fields", "vault.csv", 2, 0,
            "Chat Site|Social|https://chat.example.net/|bob|p,w|fields: pet: Rex");
        row("vault: a note", "vault.csv", 2, 1, "Safe Note|||||The combination is\r\n1-2-3");
        row("browser with names", "browser_named.csv", 2, 0,
            "mail.example.org||https://mail.example.org/|carol|hunter2|");
        row("browser: no name, a long address kept whole", "browser_named.csv", 2, 1,
            "forum.example.com||https://www.forum.example.com/a/long/path/that/goes/on/to/sign/in?next=%2Fhome|dave|"
            "pw2|old account");
        row("browser bookkeeping left out", "browser_bookkeeping.csv", 1, 0,
            "news.example.com||https://www.news.example.com|erin|pa\"ss|");
    }
    void peersExportsBecomeWebAccounts()
    {
        QFETCH(QString, sample);
        QFETCH(int, count);
        QFETCH(int, index);
        QFETCH(QString, expected);
        const QList<transfer::Record> records =
            readOrFail(testsupport::readFile(QStringLiteral(SAMPLES_DIR "/") + sample));
        QCOMPARE(records.size(), count);
        QCOMPARE(records.at(index).category, Category::Web);
        QCOMPARE(webText(records.at(index)), expected);
    }

    void faultsNameTheirLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        auto row = [](const char* name, const QByteArray& bytes, const char* message) {
            QTest::newRow(name) << bytes << QString(message);
        };
        row("quote never closed", "url,username,password\na,b,c\nx,\"y\n,z\n",
            "The file cannot be imported: line 3: a quoted field does not end.");
        row("text after a closing quote", "url,username,password\n\"a\"b,c,d\n",
            "The file cannot be imported: line 2: text follows a closing quote.");
        row("lines counted inside quotes", "url,username,password\n\"a\nb\",c,d\nx\"y,c,d\n",
            "The file cannot be imported: line 4: a quote stands inside a field that is not quoted.");
        row("not UTF-8", "url,username,password\na,b,c\n\xFF,b,c\n",
            "The file cannot be imported: line 3: the text is not UTF-8.");
        row("fields missing", "url,username,password\nhttps://a,b\n",
            "The file cannot be imported: line 2: it has 2 fields where the header row has 3.");
        row("unknown kind", "Kind,Web Site\nBogus,x\n",
            "The file cannot be imported: line 2: the kind \"Bogus\" is none of Personal, Credit, Travel, Web.");
        row("empty", "", "The file cannot be imported: it is empty.");
        row("unknown columns", "Foo, Bar\n1,2\n",
            "The file cannot be imported: its header row is not that of a known export. Columns found: \"Foo\", "
            "\"Bar\". Import reads the CSV exports of this program, of password keepers (Title, Username, "
            "Password, URL, Notes) and of browsers (name, url, username, password).");
    }
    void faultsNameTheirLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QList<transfer::Record> records;
        QString got;
        QVERIFY(!transfer::readExport(bytes, records, got));
        QCOMPARE(got, message);
        QVERIFY(records.isEmpty());
    }

    void duplicatesAreSameNameAndLogin()
    {
        QTemporaryDir dir;
        dao::DatabasePtr db = fixture::open(fixture::createDataFile(dir.path()));
        fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "Example"}, {"Login", "ann"}});
        fixture::addRecord(*db, "[Credit Cards]", {{"Credit Card", "Blue"}, {"Account Number", "4111"}});
        const QList<transfer::Record> records = readOrFail("name,url,username,password\n"
                                                           "EXAMPLE,,Ann,x\n"
                                                           "Example,,bob,x\n"
                                                           "Other,,ann,x\n"
                                                           "Blue,,4111,x\n"
                                                           "Example,,ann,y\n");
        QList<bool> duplicate;
        QVERIFY(!transfer::findDuplicates(*db, records, duplicate));
        QCOMPARE(duplicate, (QList<bool>{true, false, false, false, true}));
    }

    // One failed save of the import's one transaction (every save step fails alike, tst_SaveSteps).
    void failedImportAddsNothing()
    {
        QTemporaryDir dir;
        const QString file = fixture::createDataFile(dir.path(), "pw");
        dao::DatabasePtr db = fixture::open(file, "pw");
        fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "Kept"}});
        const QByteArray before = testsupport::readFile(file);
        const QList<transfer::Record> records = readOrFail(testsupport::readFile(SAMPLES_DIR "/keeper.csv"));
        int progress = 0;
        {
            fixture::FailAt ops("rename");
            const dao::Error e = transfer::addRecords(*db, records, [&](int done, int) { progress = done; });
            QVERIFY(e);
            QVERIFY(!e.description().isEmpty());
        }
        QCOMPARE(progress, 2);
        QCOMPARE(testsupport::readFile(file), before);
        QCOMPARE(fixture::column(*db, statements::listView(Category::Web), "Web Site"), QStringList{"Kept"});
        QVERIFY(!dao::DBEngine::InTransaction());
        QVERIFY(!transfer::addRecords(*db, records));
        QCOMPARE(fixture::column(*db, statements::listView(Category::Web), "Web Site"),
                 (QStringList{"Bank", "Example Shop", "Kept"}));
    }

    void exportImportedIntoAnEmptyFileGivesTheSameRecords()
    {
        QTemporaryDir dir;
        dao::DatabasePtr from = fixture::open(fixture::createDataFile(dir.path(), "pw", "from.cvd"), "pw");
        fixture::addRecord(*from, "[Personal Information]", {{"Name", "Ann"}, {"City", "Springfield"}});
        fixture::addRecord(*from, "[Credit Cards]",
                           {{"Credit Card", "Blue, \"gold\""},
                            {"Card Type", " 2"},
                            {"Account Number", "4111111111111111"},
                            {"Expiration Date", "0503"},
                            {"Notes", "line 1\r\nline 2"}});
        fixture::addRecord(*from, "[Travel Programs]",
                           {{"Travel Program", "Miles"}, {"PIN Number", "0042"}, {"Web Account", "Air"}});
        fixture::addRecord(*from, "[Web Accounts]",
                           {{"Web Site", "Zeta"},
                            {"URL", "https://zeta.example/"},
                            {"Login", " spaced "},
                            {"Password", "p,w\"\n=1"},
                            {"E-Mail Address", "ann@example.com"}});
        fixture::addRecord(*from, "[Web Accounts]", {{"Web Site", "Ünïcödé ✓"}, {"Notes", QVariant()}});
        QByteArray bytes;
        int count = 0;
        QVERIFY(!transfer::exportAll(*from, bytes, count));
        QCOMPARE(count, 5);
        QVERIFY(bytes.startsWith("Kind,Name,Address,City,State,Zip Code,Phone Number,E-Mail Address,Credit Card,"));

        dao::DatabasePtr to = fixture::open(fixture::createDataFile(dir.path(), "", "to.cvd"));
        const QList<transfer::Record> records = readOrFail(bytes);
        QCOMPARE(records.size(), 4); // the personal record stays the person's own
        QVERIFY(!transfer::addRecords(*to, records));
        QCOMPARE(everyRecord(*to), everyRecord(*from));
        QCOMPARE(everyRecord(*to).size(), 4);
    }
};

QTEST_GUILESS_MAIN(tst_Import)
#include "tst_Import.moc"
