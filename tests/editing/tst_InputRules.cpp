#include "InputRules.h"
#include "TestSupport.h"

#include <QTest>

using testsupport::row;

namespace {
const QStringList kFilteringModes = {"Mix", "MixUpperCase", "Letters", "UpperCase", "Number"};
}

class tst_InputRules : public QObject
{
    Q_OBJECT

private slots:
    void filterKeyAscii_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("beep");
        for (const QString& mode : kFilteringModes + QStringList{"", "City"}) {
            const QByteArray m = mode.toUtf8();
            QTest::newRow(m + ": backspace passes") << mode << 8 << 8 << false;
            QTest::newRow(m + ": discarded key stays discarded") << mode << 0 << 0 << false;
        }
        for (const QString& mode : kFilteringModes) {
            const QByteArray m = mode.toUtf8();
            for (int control : {3, 13, 22, 24, 27, 127}) {
                QTest::newRow(m + ": control " + QByteArray::number(control)) << mode << control << 0 << true;
            }
            for (int high : {128, 160, 193, 233, 255, kNotAnsi}) {
                QTest::newRow(m + ": above 127, " + QByteArray::number(high)) << mode << high << 0 << true;
            }
            // The neighbours of the accepted ranges.
            for (int outside : {'/', ':', '@', '[', '`', '{', ',', '?', '_', '"'}) {
                QTest::newRow(m + ": " + char(outside)) << mode << outside << 0 << true;
            }
        }
        row("Number: digits 0", "Number", int('0'), int('0'), false);
        row("Number: digits 9", "Number", int('9'), int('9'), false);
        row("Number: blank", "Number", int(' '), 0, true);
        row("Number: letter", "Number", int('a'), 0, true);
        row("Number: full stop", "Number", int('.'), 0, true);
        row("Letters: digit", "Letters", int('7'), 0, true);
        row("UpperCase: digit", "UpperCase", int('0'), 0, true);
        for (char c : {'A', 'Z', 'a', 'z', ' ', '.', '-', '\''}) {
            QTest::newRow(QByteArray("Letters: ") + c) << "Letters" << int(c) << int(c) << false;
            QTest::newRow(QByteArray("Mix: ") + c) << "Mix" << int(c) << int(c) << false;
        }
        row("Mix: digit", "Mix", int('5'), int('5'), false);
        row("Mix keeps lower case", "Mix", int('q'), int('q'), false);
        row("UpperCase: a", "UpperCase", int('a'), int('A'), false);
        row("UpperCase: z", "UpperCase", int('z'), int('Z'), false);
        row("UpperCase: capital stays", "UpperCase", int('N'), int('N'), false);
        row("UpperCase: apostrophe", "UpperCase", int('\''), int('\''), false);
        row("MixUpperCase: b", "MixUpperCase", int('b'), int('B'), false);
        row("MixUpperCase: digit", "MixUpperCase", int('1'), int('1'), false);
        for (int code :
             {int('@'), int('!'), int('#'), int('_'), int('^'), int('<'), int('~'), 128, 160, 233, kNotAnsi}) {
            QTest::newRow("Printable: " + QByteArray::number(code)) << "Printable" << code << code << false;
        }
        for (int control : {3, 9, 13, 22, 27, 127, 0x81, 0x9D}) {
            QTest::newRow("Printable: control " + QByteArray::number(control)) << "Printable" << control << 0 << true;
        }
        // Modes compare exactly; anything else takes every key as it is.
        row("unknown mode: control", "", 3, 3, false);
        row("unknown mode: accented", "City", 233, 233, false);
        row("lower-case mode name filters nothing", "number", int('a'), int('a'), false);
        row("lower-case mode name upper-cases nothing", "uppercase", int('a'), int('a'), false);
    }
    void filterKeyAscii()
    {
        QFETCH(QString, mode);
        QFETCH(int, code);
        QFETCH(int, result);
        QFETCH(bool, beep);
        int key = code;
        bool beeped = !beep;
        FilterKeyAscii(mode, key, &beeped);
        QCOMPARE(key, result);
        QCOMPARE(beeped, beep);
        int withoutFlag = code;
        FilterKeyAscii(mode, withoutFlag);
        QCOMPARE(withoutFlag, result);
    }

    void filterText_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("received");
        QTest::addColumn<int>("refused");
        const QString world = QString::fromUtf8("Zoë 東京 Ωμέγα 🙂");
        row("e-mail login", "Printable", "jo@x.com_P!1#", "jo@x.com_P!1#", 0);
        row("password with symbols", "Printable", "R3tire^2045! <\"q\">", "R3tire^2045! <\"q\">", 0);
        row("other scripts and emoji", "Printable", world, world, 0);
        row("line ends and tabs dropped", "Printable", "a\r\nb\tc\n", "abc", 4);
        row("card number with blanks", "Number", "4111 1111-1111.1111", "4111111111111111", 3);
        row("state upper-cased", "UpperCase", "n1y", "NY", 1);
        row("emoji counts once", "Mix", QString::fromUtf8("a🙂b"), "ab", 1);
    }
    void filterText()
    {
        QFETCH(QString, mode);
        QFETCH(QString, text);
        QFETCH(QString, received);
        QFETCH(int, refused);
        qsizetype dropped = -1;
        QCOMPARE(FilterText(mode, text, &dropped), received);
        QCOMPARE(dropped, qsizetype(refused));
    }

    void ansiCode_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("code");
        row("A", QString("A"), 65);
        row("euro", QString(QChar(0x20AC)), 128);
        row("low quote", QString(QChar(0x201A)), 130);
        row("Y diaeresis", QString(QChar(0x0178)), 159);
        row("no-break space", QString(QChar(0x00A0)), 160);
        row("y diaeresis", QString(QChar(0x00FF)), 255);
        row("C1 control 0x80 is not the euro", QString(QChar(0x0080)), kNotAnsi);
        row("omega", QString(QChar(0x03A9)), kNotAnsi);
        row("high surrogate", QString(QChar(0xD83D)), kNotAnsi);
    }
    void ansiCode()
    {
        QFETCH(QString, character);
        QFETCH(int, code);
        QCOMPARE(AnsiCode(character.at(0)), code);
        for (int c = 1; c <= 255; ++c) {
            QCOMPARE(AnsiCode(AnsiChar(c)), c);
        }
        QVERIFY(AnsiChar(0).isNull() && AnsiChar(kNotAnsi).isNull() && AnsiChar(-1).isNull());
    }

    void validateEntry_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        const char* zip = "Please enter a five digit zip code.";
        const char* phone = "Please enter a ten digit phone number.";
        row("zip empty", "Zip Code", "", "");
        for (const char* v : {"1", "12", "123", "1234"}) {
            QTest::newRow(QByteArray("zip ") + v) << "Zip Code" << v << zip;
        }
        row("zip five", "Zip Code", "12345", "");
        row("zip nine", "Zip Code", "123456789", "");
        row("phone empty", "Phone Number", "", "");
        row("phone area code and two digits", "Phone Number", "55512", phone);
        row("phone without area code", "Phone Number", "5551234", phone);
        row("phone nine", "Phone Number", "555123456", phone);
        row("phone ten", "Phone Number", "8005551234", "");
        row("name empty", "Name", "", "Please enter a name.");
        row("name one blank", "Name", " ", "");
        row("city empty", "City", "", "");
        row("kinds compare exactly", "zip code", "1", "");
    }
    void validateEntry()
    {
        QFETCH(QString, kind);
        QFETCH(QString, value);
        QFETCH(QString, message);
        QCOMPARE(ValidateEntry(kind, value), message);
    }

    void qtInputMask_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("asWritten");
        QTest::addColumn<QString>("allOptional");
        row("zip", masks::ZipCode, "99999;_", "00000;_");
        row("phone", masks::PhoneNumber, "\\(000\\)\\ 999\\-9999;_", "\\(000\\)\\ 000\\-0000;_");
        row("expiration", masks::ExpirationDate, "99\\/99;_", "00\\/00;_");
        row("PIN", masks::Pin, "", "");
        row("letters that are Qt mask characters stay literal", "A#", "\\A9;_", "\\A0;_");
    }
    void qtInputMask()
    {
        QFETCH(QString, original);
        QFETCH(QString, asWritten);
        QFETCH(QString, allOptional);
        QCOMPARE(QtInputMask(original), asWritten);
        QCOMPARE(QtInputMask(original, MaskPositions::AllOptional), allOptional);
    }

    // What a masked field shows, what its check counts and what it stores; the stored value must
    // show again exactly as it was.
    void maskedEntryLoadsBackAsTyped_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("entered");
        QTest::addColumn<QString>("stored");
        const QString& phone = masks::PhoneNumber;
        row("untouched phone", phone, "(___) ___-____", "", "");
        row("whole phone", phone, "(800) 555-1234", "8005551234", "8005551234");
        row("phone without area code", phone, "(___) 555-1234", "5551234", "5551234");
        row("unfinished phone", phone, "(555) 12_-____", "55512", "55512_____");
        row("gaps inside", phone, "(5_5) _1_-2__3", "55123", "5_5_1_2__3");
        row("one-digit month", masks::ExpirationDate, "_5/03", "503", "503");
        row("one-digit year", masks::ExpirationDate, "05/3_", "053", "053_");
        row("partial zip", masks::ZipCode, "12___", "12", "12___");
    }
    void maskedEntryLoadsBackAsTyped()
    {
        QFETCH(QString, mask);
        QFETCH(QString, shown);
        QFETCH(QString, entered);
        QFETCH(QString, stored);
        QCOMPARE(MaskClipText(mask, shown), entered);
        QCOMPARE(MaskStoredText(mask, shown), stored);
        QCOMPARE(MaskDisplayText(mask, stored), shown);
    }

    void typedAndPastedDigitsFillTheMask_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("refused");
        QTest::addColumn<int>("unplaced");
        const QString& phone = masks::PhoneNumber;
        for (bool paste : {false, true}) {
            const QByteArray how = paste ? "pasted " : "typed ";
            for (const char* form :
                 {"8005551234", "800-555-1234", "(800) 555-1234", "+1 800 555 1234", "1 (800) 555-1234"}) {
                QTest::newRow(how + form) << phone << paste << form << "(800) 555-1234" << 0 << 0;
            }
            row(how + "letters", phone, paste, "8a0b0", "(800) ___-____", 2, 0);
            row(how + "05/3", masks::ExpirationDate, paste, "05/3", "05/3_", 0, 0);
            row(how + "5/03", masks::ExpirationDate, paste, "5/03", "_5/03", 0, 0);
            row(how + "zip plus four", masks::ZipCode, paste, "02134-1234", "02134", 0, 4);
        }
        // Typed digit by digit, a short number goes in from where the cursor is; pasted, it is known
        // whole, a number without its area code.
        row("typed 555-1234", phone, false, "555-1234", "(555) 123-4___", 0, 0);
        row("pasted 555-1234", phone, true, "555-1234", "(___) 555-1234", 0, 0);
        row("eleven digits not after a 1", phone, false, "28005551234", "(280) 055-5123", 0, 1);
    }
    void typedAndPastedDigitsFillTheMask()
    {
        QFETCH(QString, mask);
        QFETCH(bool, paste);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(int, refused);
        QFETCH(int, unplaced);
        const QString empty = MaskDisplayText(mask, QString());
        const MaskEntry entry = paste ? MaskPaste(mask, empty, 0, 0, text) : MaskType(mask, empty, 0, 0, text);
        QCOMPARE(entry.shown, shown);
        QCOMPARE(entry.refused, qsizetype(refused));
        QCOMPARE(entry.unplaced, qsizetype(unplaced));
    }

    void storedValueThatDoesNotFitShowsItsFirstDigits_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        row("phone with extension", masks::PhoneNumber, "800555123412", "(800) 555-1234");
        row("phone with punctuation", masks::PhoneNumber, "555-1234", "(___) 555-1234");
        row("no digits", masks::PhoneNumber, "abc", "(___) ___-____");
        row("zip plus four", masks::ZipCode, "02134-1234", "02134");
        row("date with separator", masks::ExpirationDate, "05/03", "05/03");
    }
    void storedValueThatDoesNotFitShowsItsFirstDigits()
    {
        QFETCH(QString, mask);
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QCOMPARE(MaskDisplayText(mask, stored), shown);
    }
};

QTEST_GUILESS_MAIN(tst_InputRules)
#include "tst_InputRules.moc"
