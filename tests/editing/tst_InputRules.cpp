#include "InputRules.h"

#include <QTest>

class tst_InputRules : public QObject
{
    Q_OBJECT

private slots:
    void filterKeyAscii_data();
    void filterKeyAscii();
    void filterText_data();
    void filterText();
    void ansiCode_data();
    void ansiCode();
    void ansiCodesRoundTrip();
    void validateEntry_data();
    void validateEntry();
    void qtInputMask_data();
    void qtInputMask();
    void maskedEntryLoadsBackAsTyped_data();
    void maskedEntryLoadsBackAsTyped();
    void typedAndPastedDigitsFillTheMask_data();
    void typedAndPastedDigitsFillTheMask();
    void storedValueThatDoesNotFitShowsItsFirstDigits_data();
    void storedValueThatDoesNotFitShowsItsFirstDigits();
};

namespace {
const QStringList kFilteringModes = {"Mix", "MixUpperCase", "Letters", "UpperCase", "Number"};
}

void tst_InputRules::filterKeyAscii_data()
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

    QTest::newRow("Number: digits 0") << "Number" << int('0') << int('0') << false;
    QTest::newRow("Number: digits 9") << "Number" << int('9') << int('9') << false;
    QTest::newRow("Number: blank") << "Number" << int(' ') << 0 << true;
    QTest::newRow("Number: letter") << "Number" << int('a') << 0 << true;
    QTest::newRow("Number: full stop") << "Number" << int('.') << 0 << true;
    QTest::newRow("Letters: digit") << "Letters" << int('7') << 0 << true;
    QTest::newRow("UpperCase: digit") << "UpperCase" << int('0') << 0 << true;
    for (char c : {'A', 'Z', 'a', 'z', ' ', '.', '-', '\''}) {
        QTest::newRow(QByteArray("Letters: ") + c) << "Letters" << int(c) << int(c) << false;
        QTest::newRow(QByteArray("Mix: ") + c) << "Mix" << int(c) << int(c) << false;
    }
    QTest::newRow("Mix: digit") << "Mix" << int('5') << int('5') << false;
    QTest::newRow("Mix keeps lower case") << "Mix" << int('q') << int('q') << false;
    QTest::newRow("UpperCase: a") << "UpperCase" << int('a') << int('A') << false;
    QTest::newRow("UpperCase: z") << "UpperCase" << int('z') << int('Z') << false;
    QTest::newRow("UpperCase: capital stays") << "UpperCase" << int('N') << int('N') << false;
    QTest::newRow("UpperCase: apostrophe") << "UpperCase" << int('\'') << int('\'') << false;
    QTest::newRow("MixUpperCase: b") << "MixUpperCase" << int('b') << int('B') << false;
    QTest::newRow("MixUpperCase: digit") << "MixUpperCase" << int('1') << int('1') << false;
    for (int code : {int('@'), int('!'), int('#'), int('_'), int('^'), int('<'), int('~'), 128, 160, 233, kNotAnsi}) {
        QTest::newRow("Printable: " + QByteArray::number(code)) << "Printable" << code << code << false;
    }
    for (int control : {3, 9, 13, 22, 27, 127, 0x81, 0x9D}) {
        QTest::newRow("Printable: control " + QByteArray::number(control)) << "Printable" << control << 0 << true;
    }

    // Modes compare exactly; anything else takes every key as it is.
    QTest::newRow("unknown mode: control") << "" << 3 << 3 << false;
    QTest::newRow("unknown mode: accented") << "City" << 233 << 233 << false;
    QTest::newRow("lower-case mode name filters nothing") << "number" << int('a') << int('a') << false;
    QTest::newRow("lower-case mode name upper-cases nothing") << "uppercase" << int('a') << int('a') << false;
}

void tst_InputRules::filterKeyAscii()
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

void tst_InputRules::filterText_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("received");
    QTest::addColumn<int>("refused");
    QTest::newRow("e-mail login") << "Printable"
                                  << "jo@x.com_P!1#"
                                  << "jo@x.com_P!1#" << 0;
    QTest::newRow("password with symbols") << "Printable"
                                           << "R3tire^2045! <\"q\">"
                                           << "R3tire^2045! <\"q\">" << 0;
    QTest::newRow("other scripts and emoji") << "Printable" << QString::fromUtf8("Zoë 東京 Ωμέγα 🙂")
                                             << QString::fromUtf8("Zoë 東京 Ωμέγα 🙂") << 0;
    QTest::newRow("line ends and tabs dropped") << "Printable"
                                                << "a\r\nb\tc\n"
                                                << "abc" << 4;
    QTest::newRow("card number with blanks") << "Number"
                                             << "4111 1111-1111.1111"
                                             << "4111111111111111" << 3;
    QTest::newRow("state upper-cased") << "UpperCase"
                                       << "n1y"
                                       << "NY" << 1;
    QTest::newRow("emoji counts once") << "Mix" << QString::fromUtf8("a🙂b") << "ab" << 1;
}

void tst_InputRules::filterText()
{
    QFETCH(QString, mode);
    QFETCH(QString, text);
    QFETCH(QString, received);
    QFETCH(int, refused);
    qsizetype dropped = -1;
    QCOMPARE(FilterText(mode, text, &dropped), received);
    QCOMPARE(dropped, qsizetype(refused));
}

void tst_InputRules::ansiCode_data()
{
    QTest::addColumn<QString>("character");
    QTest::addColumn<int>("code");
    QTest::newRow("A") << "A" << 65;
    QTest::newRow("euro") << QString(QChar(0x20AC)) << 128;
    QTest::newRow("low quote") << QString(QChar(0x201A)) << 130;
    QTest::newRow("Y diaeresis") << QString(QChar(0x0178)) << 159;
    QTest::newRow("no-break space") << QString(QChar(0x00A0)) << 160;
    QTest::newRow("e acute") << QString(QChar(0x00E9)) << 233;
    QTest::newRow("y diaeresis") << QString(QChar(0x00FF)) << 255;
    QTest::newRow("C1 control 0x80 is not the euro") << QString(QChar(0x0080)) << kNotAnsi;
    QTest::newRow("omega") << QString(QChar(0x03A9)) << kNotAnsi;
    QTest::newRow("high surrogate") << QString(QChar(0xD83D)) << kNotAnsi;
}

void tst_InputRules::ansiCode()
{
    QFETCH(QString, character);
    QFETCH(int, code);
    QCOMPARE(AnsiCode(character.at(0)), code);
}

void tst_InputRules::ansiCodesRoundTrip()
{
    for (int code = 1; code <= 255; ++code) {
        QCOMPARE(AnsiCode(AnsiChar(code)), code);
    }
    QVERIFY(AnsiChar(0).isNull());
    QVERIFY(AnsiChar(kNotAnsi).isNull());
    QVERIFY(AnsiChar(-1).isNull());
}

void tst_InputRules::validateEntry_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");

    const QString zip = "Please enter a five digit zip code.";
    const QString phone = "Please enter a ten digit phone number.";
    QTest::newRow("zip empty") << "Zip Code"
                               << ""
                               << "";
    for (const char* v : {"1", "12", "123", "1234"}) {
        QTest::newRow(QByteArray("zip ") + v) << "Zip Code" << v << zip;
    }
    QTest::newRow("zip five") << "Zip Code"
                              << "12345"
                              << "";
    QTest::newRow("zip nine") << "Zip Code"
                              << "123456789"
                              << "";
    QTest::newRow("phone empty") << "Phone Number"
                                 << ""
                                 << "";
    QTest::newRow("phone area code and two digits") << "Phone Number"
                                                    << "55512" << phone;
    QTest::newRow("phone without area code") << "Phone Number"
                                             << "5551234" << phone;
    QTest::newRow("phone nine") << "Phone Number"
                                << "555123456" << phone;
    QTest::newRow("phone ten") << "Phone Number"
                               << "8005551234"
                               << "";
    QTest::newRow("name empty") << "Name"
                                << ""
                                << "Please enter a name.";
    QTest::newRow("name one blank") << "Name"
                                    << " "
                                    << "";
    QTest::newRow("city empty") << "City"
                                << ""
                                << "";
    QTest::newRow("state empty") << "State"
                                 << ""
                                 << "";
    QTest::newRow("kinds compare exactly") << "zip code"
                                           << "1"
                                           << "";
}

void tst_InputRules::validateEntry()
{
    QFETCH(QString, kind);
    QFETCH(QString, value);
    QFETCH(QString, message);
    QCOMPARE(ValidateEntry(kind, value), message);
}

void tst_InputRules::qtInputMask_data()
{
    QTest::addColumn<QString>("original");
    QTest::addColumn<QString>("asWritten");
    QTest::addColumn<QString>("allOptional");

    QTest::newRow("zip") << masks::ZipCode << "99999;_"
                         << "00000;_";
    QTest::newRow("phone") << masks::PhoneNumber << "\\(000\\)\\ 999\\-9999;_"
                           << "\\(000\\)\\ 000\\-0000;_";
    QTest::newRow("expiration") << masks::ExpirationDate << "99\\/99;_"
                                << "00\\/00;_";
    QTest::newRow("PIN") << masks::Pin << ""
                         << "";
    QTest::newRow("letters that are Qt mask characters stay literal") << "A#"
                                                                      << "\\A9;_"
                                                                      << "\\A0;_";
}

void tst_InputRules::qtInputMask()
{
    QFETCH(QString, original);
    QFETCH(QString, asWritten);
    QFETCH(QString, allOptional);
    QCOMPARE(QtInputMask(original), asWritten);
    QCOMPARE(QtInputMask(original, MaskPositions::AllOptional), allOptional);
}

// What a masked field shows, what its check counts and what it stores; the stored value must
// show again exactly as it was.
void tst_InputRules::maskedEntryLoadsBackAsTyped_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("entered");
    QTest::addColumn<QString>("stored");
    const QString& phone = masks::PhoneNumber;
    QTest::newRow("untouched phone") << phone << "(___) ___-____"
                                     << ""
                                     << "";
    QTest::newRow("whole phone") << phone << "(800) 555-1234"
                                 << "8005551234"
                                 << "8005551234";
    QTest::newRow("phone without area code") << phone << "(___) 555-1234"
                                             << "5551234"
                                             << "5551234";
    QTest::newRow("unfinished phone") << phone << "(555) 12_-____"
                                      << "55512"
                                      << "55512_____";
    QTest::newRow("gaps inside") << phone << "(5_5) _1_-2__3"
                                 << "55123"
                                 << "5_5_1_2__3";
    QTest::newRow("one-digit month") << masks::ExpirationDate << "_5/03"
                                     << "503"
                                     << "503";
    QTest::newRow("one-digit year") << masks::ExpirationDate << "05/3_"
                                    << "053"
                                    << "053_";
    QTest::newRow("partial zip") << masks::ZipCode << "12___"
                                 << "12"
                                 << "12___";
}

void tst_InputRules::maskedEntryLoadsBackAsTyped()
{
    QFETCH(QString, mask);
    QFETCH(QString, shown);
    QFETCH(QString, entered);
    QFETCH(QString, stored);
    QCOMPARE(MaskClipText(mask, shown), entered);
    QCOMPARE(MaskStoredText(mask, shown), stored);
    QCOMPARE(MaskDisplayText(mask, stored), shown);
}

void tst_InputRules::typedAndPastedDigitsFillTheMask_data()
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
             {"8005551234", "800-555-1234", "(800) 555-1234", "800.555.1234", "+1 800 555 1234", "1 (800) 555-1234"}) {
            QTest::newRow(how + form) << phone << paste << form << "(800) 555-1234" << 0 << 0;
        }
        QTest::newRow(how + "letters") << phone << paste << "8a0b0"
                                       << "(800) ___-____" << 2 << 0;
        QTest::newRow(how + "05/3") << masks::ExpirationDate << paste << "05/3"
                                    << "05/3_" << 0 << 0;
        QTest::newRow(how + "5/03") << masks::ExpirationDate << paste << "5/03"
                                    << "_5/03" << 0 << 0;
        QTest::newRow(how + "zip plus four") << masks::ZipCode << paste << "02134-1234"
                                             << "02134" << 0 << 4;
    }
    // Typed digit by digit, a short number goes in from where the cursor is; pasted, it is known
    // whole, a number without its area code.
    QTest::newRow("typed 555-1234") << phone << false << "555-1234"
                                    << "(555) 123-4___" << 0 << 0;
    QTest::newRow("pasted 555-1234") << phone << true << "555-1234"
                                     << "(___) 555-1234" << 0 << 0;
    QTest::newRow("eleven digits not after a 1") << phone << false << "28005551234"
                                                 << "(280) 055-5123" << 0 << 1;
}

void tst_InputRules::typedAndPastedDigitsFillTheMask()
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

void tst_InputRules::storedValueThatDoesNotFitShowsItsFirstDigits_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("phone with extension") << masks::PhoneNumber << "800555123412"
                                          << "(800) 555-1234";
    QTest::newRow("phone with punctuation") << masks::PhoneNumber << "555-1234"
                                            << "(___) 555-1234";
    QTest::newRow("no digits") << masks::PhoneNumber << "abc"
                               << "(___) ___-____";
    QTest::newRow("zip plus four") << masks::ZipCode << "02134-1234"
                                   << "02134";
    QTest::newRow("date with separator") << masks::ExpirationDate << "05/03"
                                         << "05/03";
}

void tst_InputRules::storedValueThatDoesNotFitShowsItsFirstDigits()
{
    QFETCH(QString, mask);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QCOMPARE(MaskDisplayText(mask, stored), shown);
}

QTEST_GUILESS_MAIN(tst_InputRules)
#include "tst_InputRules.moc"
