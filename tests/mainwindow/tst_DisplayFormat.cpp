#include "DisplayFormat.h"

#include <QTest>

class tst_DisplayFormat : public QObject
{
    Q_OBJECT

private slots:
    void formatPhone_data();
    void formatPhone();
    void phoneDigitsAreAsciiDigitsOnly_data();
    void phoneDigitsAreAsciiDigitsOnly();
    void formatDate_data();
    void formatDate();
    void webLink_data();
    void webLink();
};

void tst_DisplayFormat::formatPhone_data()
{
    QTest::addColumn<QString>("phone");
    QTest::addColumn<bool>("includeExtension");
    QTest::addColumn<QString>("shown");

    QTest::newRow("empty") << "" << true << "";
    QTest::newRow("no digits") << "abc" << true << "";
    QTest::newRow("blanks only") << "   " << true << "";
    QTest::newRow("seven digits, area code missing") << "5551234" << true << "(___) 555-1234";
    QTest::newRow("three digits") << "123" << true << "(___) ___-_123";
    QTest::newRow("one digit") << "7" << true << "(___) ___-___7";
    QTest::newRow("ten digits") << "8005551234" << true << "(800) 555-1234";
    QTest::newRow("dotted") << "800.555.1234" << true << "(800) 555-1234";
    QTest::newRow("extension in words") << "800-555-1234 ext. 12" << true << "(800) 555-1234 x12";
    QTest::newRow("already formatted with extension") << "(800) 555-1234 x12" << true << "(800) 555-1234 x12";
    QTest::newRow("country digit read as extension") << "18005551234" << true << "(180) 055-5123 x4";
    QTest::newRow("extension dropped") << "800555123412" << false << "(800) 555-1234";
    QTest::newRow("long extension") << "12345678901234567890" << true << "(123) 456-7890 x1234567890";
    QTest::newRow("ten digits without extension flag") << "8005551234" << false << "(800) 555-1234";
    QTest::newRow("surrounding blanks") << "  8005551234  " << true << "(800) 555-1234";
    QTest::newRow("other scripts' digits are not digits")
        << QString::fromUtf8("٣٣٣5551234") << true << "(___) 555-1234";
    QTest::newRow("unfinished, kept in its positions") << "55512_____" << true << "(555) 12_-____";
    QTest::newRow("gaps kept") << "5_5_1_2__3" << true << "(5_5) _1_-2__3";
}

void tst_DisplayFormat::formatPhone()
{
    QFETCH(QString, phone);
    QFETCH(bool, includeExtension);
    QFETCH(QString, shown);
    QCOMPARE(wf_FormatPhone(phone, includeExtension), shown);
    // The main window reformats a phone field in place from its own change notification; a second
    // pass must find nothing to change or the notifications never end.
    QCOMPARE(wf_FormatPhone(shown, includeExtension), shown);
}

void tst_DisplayFormat::phoneDigitsAreAsciiDigitsOnly_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("digits");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("formatted") << "(800) 555-1234 x12"
                               << "800555123412";
    QTest::newRow("underscores of a short number") << "(___) 555-1234"
                                                   << "5551234";
    QTest::newRow("superscript and fraction") << QString::fromUtf8("1²½3") << "13";
}

void tst_DisplayFormat::phoneDigitsAreAsciiDigitsOnly()
{
    QFETCH(QString, value);
    QFETCH(QString, digits);
    QCOMPARE(wf_GetPhoneDigits(value), digits);
}

void tst_DisplayFormat::formatDate_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("four digits") << "1203"
                                 << "12/03";
    QTest::newRow("three digits") << "103"
                                  << "1/03";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("two digits") << "12"
                                << "/12";
    QTest::newRow("one digit") << "1"
                               << "/1";
    QTest::newRow("already formatted") << "12/03"
                                       << "/12/03";
}

void tst_DisplayFormat::formatDate()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QCOMPARE(wf_FormatDate(stored), shown);
}

void tst_DisplayFormat::webLink_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("link");
    QTest::newRow("bare host") << "abc"
                               << "http://abc";
    QTest::newRow("http") << "http://example.org"
                          << "http://example.org";
    QTest::newRow("https") << "https://example.org"
                           << "https://example.org";
    QTest::newRow("capital HTTP") << "HTTP://example.org"
                                  << "HTTP://example.org";
    QTest::newRow("mixed-case https") << "Https://example.org"
                                      << "Https://example.org";
    QTest::newRow("other scheme") << "ftp://example.org"
                                  << "ftp://example.org";
    QTest::newRow("mail") << "mailto:ann@example.org"
                          << "mailto:ann@example.org";
    QTest::newRow("host with port") << "localhost:8080/login"
                                    << "http://localhost:8080/login";
    QTest::newRow("short text") << "ab"
                                << "http://ab";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_DisplayFormat::webLink()
{
    QFETCH(QString, url);
    QFETCH(QString, link);
    QCOMPARE(WebLinkAddress(url), link);
}

QTEST_GUILESS_MAIN(tst_DisplayFormat)
#include "tst_DisplayFormat.moc"
