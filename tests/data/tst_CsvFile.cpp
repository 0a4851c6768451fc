// The CSV reader: quoting, line ends, byte-order mark. The faults are read through the import,
// which names their lines, and the writer through the export's round trip (tst_Import).

#include "CsvFile.h"

#include <QTest>

using Records = QList<QStringList>;

class tst_CsvFile : public QObject
{
    Q_OBJECT

private slots:
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
};

QTEST_GUILESS_MAIN(tst_CsvFile)
#include "tst_CsvFile.moc"
