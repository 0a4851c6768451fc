#include "DisplayFormat.h"
#include "TestSupport.h"

#include <QTest>

using testsupport::row;

class tst_DisplayFormat : public QObject
{
    Q_OBJECT

private slots:
    void formatPhone_data()
    {
        QTest::addColumn<QString>("phone");
        QTest::addColumn<bool>("includeExtension");
        QTest::addColumn<QString>("shown");
        row("empty", "", true, "");
        row("no digits", "abc", true, "");
        row("seven digits, area code missing", "5551234", true, "(___) 555-1234");
        row("three digits", "123", true, "(___) ___-_123");
        row("ten digits", "8005551234", true, "(800) 555-1234");
        row("dotted", "800.555.1234", true, "(800) 555-1234");
        row("extension in words", "800-555-1234 ext. 12", true, "(800) 555-1234 x12");
        row("already formatted with extension", "(800) 555-1234 x12", true, "(800) 555-1234 x12");
        row("country digit read as extension", "18005551234", true, "(180) 055-5123 x4");
        row("extension dropped", "800555123412", false, "(800) 555-1234");
        row("long extension", "12345678901234567890", true, "(123) 456-7890 x1234567890");
        row("surrounding blanks", " 8005551234 ", true, "(800) 555-1234");
        row("other scripts' digits are not digits", QString::fromUtf8("٣٣٣5551234"), true, "(___) 555-1234");
        row("unfinished, kept in its positions", "55512_____", true, "(555) 12_-____");
        row("gaps kept", "5_5_1_2__3", true, "(5_5) _1_-2__3");
    }
    void formatPhone()
    {
        QFETCH(QString, phone);
        QFETCH(bool, includeExtension);
        QFETCH(QString, shown);
        QCOMPARE(wf_FormatPhone(phone, includeExtension), shown);
        // The main window reformats a phone field in place from its own change notification; a second
        // pass must find nothing to change or the notifications never end.
        QCOMPARE(wf_FormatPhone(shown, includeExtension), shown);
    }

    void phoneDigitsAreAsciiDigitsOnly_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("digits");
        row("empty", "", "");
        row("formatted", "(800) 555-1234 x12", "800555123412");
        row("underscores of a short number", "(___) 555-1234", "5551234");
        row("superscript and fraction", QString::fromUtf8("1²½3"), "13");
    }
    void phoneDigitsAreAsciiDigitsOnly()
    {
        QFETCH(QString, value);
        QFETCH(QString, digits);
        QCOMPARE(wf_GetPhoneDigits(value), digits);
    }

    void formatDate_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        row("four digits", "1203", "12/03");
        row("three digits", "103", "1/03");
        row("empty", "", "");
        row("two digits", "12", "/12");
        row("already formatted", "12/03", "/12/03");
    }
    void formatDate()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QCOMPARE(wf_FormatDate(stored), shown);
    }
};

QTEST_GUILESS_MAIN(tst_DisplayFormat)
#include "tst_DisplayFormat.moc"
