#include "InputRules.h"
#include "MaskedEdit.h"
#include "ScriptedSeam.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

class tst_MaskedEdit : public QObject
{
    Q_OBJECT

private slots:
    void untouchedFieldGivesBackStoredValue_data();
    void untouchedFieldGivesBackStoredValue();
    void typedDigitsWithoutLiteralsOrBlanks_data();
    void typedDigitsWithoutLiteralsOrBlanks();
    void onlyDigitsZeroToNineGetIn();
    void oddStoredValueIsKeptUntilTheFieldChanges_data();
    void oddStoredValueIsKeptUntilTheFieldChanges();
    void loadingLeavesNoUndoStepAndNoEdit();
};

namespace {

void showFocused(MaskedEdit& field)
{
    field.show();
    QApplication::setActiveWindow(&field);
    field.setFocus();
}

} // namespace

void tst_MaskedEdit::untouchedFieldGivesBackStoredValue_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");

    QTest::newRow("phone 0") << masks::PhoneNumber << ""
                             << "(___) ___-____";
    QTest::newRow("phone 3") << masks::PhoneNumber << "123"
                             << "(___) ___-_123";
    QTest::newRow("phone 5") << masks::PhoneNumber << "55512"
                             << "(___) __5-5512";
    QTest::newRow("phone 7") << masks::PhoneNumber << "5551234"
                             << "(___) 555-1234";
    QTest::newRow("phone 10") << masks::PhoneNumber << "8005551234"
                              << "(800) 555-1234";
    QTest::newRow("zip 0") << masks::ZipCode << ""
                           << "_____";
    QTest::newRow("zip 3") << masks::ZipCode << "021"
                           << "__021";
    QTest::newRow("zip 5") << masks::ZipCode << "02134"
                           << "02134";
    QTest::newRow("expiration 0") << masks::ExpirationDate << ""
                                  << "__/__";
    QTest::newRow("expiration 3") << masks::ExpirationDate << "503"
                                  << "_5/03";
    QTest::newRow("expiration 4") << masks::ExpirationDate << "0503"
                                  << "05/03";
    QTest::newRow("PIN 0") << masks::Pin << ""
                           << "";
    QTest::newRow("PIN 10") << masks::Pin << "a1-b2 c3'."
                            << "a1-b2 c3'.";
    QTest::newRow("unfinished phone kept in place") << masks::PhoneNumber << "55512_____"
                                                    << "(555) 12_-____";
    QTest::newRow("one-digit year kept in place") << masks::ExpirationDate << "053_"
                                                  << "05/3_";
}

void tst_MaskedEdit::untouchedFieldGivesBackStoredValue()
{
    QFETCH(QString, mask);
    QFETCH(QString, stored);
    QFETCH(QString, shown);

    MaskedEdit field;
    field.setOriginalMask(mask);
    field.setMaxLength(mask.isEmpty() ? 10 : field.maxLength());
    field.setStoredText(stored);
    QCOMPARE(field.Text(), shown);
    QCOMPARE(field.StoredText(), stored);
}

void tst_MaskedEdit::typedDigitsWithoutLiteralsOrBlanks_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("startAt");
    QTest::addColumn<bool>("paste");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("entered");

    QTest::newRow("area code and two digits") << masks::PhoneNumber << 0 << false << "55512"
                                              << "(555) 12_-____"
                                              << "55512";
    QTest::newRow("number without area code") << masks::PhoneNumber << 6 << false << "5551234"
                                              << "(___) 555-1234"
                                              << "5551234";
    QTest::newRow("dashes typed") << masks::PhoneNumber << 0 << false << "800-555-1234"
                                  << "(800) 555-1234"
                                  << "8005551234";
    QTest::newRow("country code pasted") << masks::PhoneNumber << 0 << true << "+1 800 555 1234"
                                         << "(800) 555-1234"
                                         << "8005551234";
    QTest::newRow("letters ignored") << masks::PhoneNumber << 0 << false << "8a0b0"
                                     << "(800) ___-____"
                                     << "800";
    QTest::newRow("one-digit year") << masks::ExpirationDate << 0 << false << "05/3"
                                    << "05/3_"
                                    << "053";
    QTest::newRow("zip pasted over the cursor") << masks::ZipCode << 3 << true << "02134"
                                                << "02134"
                                                << "02134";
    QTest::newRow("zip plus four refused whole") << masks::ZipCode << 0 << true << "02134-1234"
                                                 << "_____"
                                                 << "";
}

// Typed with real keys or pasted with the paste key; what is stored shows again as it was.
void tst_MaskedEdit::typedDigitsWithoutLiteralsOrBlanks()
{
    QFETCH(QString, mask);
    QFETCH(int, startAt);
    QFETCH(bool, paste);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, entered);
    testsupport::ScriptedSeam seam;

    MaskedEdit field;
    field.setOriginalMask(mask);
    showFocused(field);
    field.setCursorPosition(startAt);
    if (paste) {
        QGuiApplication::clipboard()->setText(typed);
        QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
    } else {
        QTest::keyClicks(&field, typed);
    }
    QCOMPARE(field.Text(), shown);
    QCOMPARE(field.ClipText(), entered);
    QCOMPARE(seam.messages.size(), entered.isEmpty() ? 1 : 0);
    // A refused paste says so; refused letters beep.
    QCOMPARE(seam.beeps, std::count_if(typed.begin(), typed.end(), [](QChar c) { return c.isLetter(); }));

    MaskedEdit loaded;
    loaded.setOriginalMask(mask);
    loaded.setStoredText(field.StoredText());
    QCOMPARE(loaded.Text(), shown);
}

void tst_MaskedEdit::onlyDigitsZeroToNineGetIn()
{
    MaskedEdit field;
    field.setOriginalMask(masks::PhoneNumber);
    showFocused(field);
    field.setCursorPosition(0);
    for (const QString& other : {QString::fromUtf8("²"), QString::fromUtf8("½"), QString::fromUtf8("٣")}) {
        QTest::sendKeyEvent(QTest::Click, &field, Qt::Key_unknown, other, Qt::NoModifier);
    }
    QCOMPARE(field.ClipText(), QString());

    field.insert(QString::fromUtf8("12²"));
    QCOMPARE(field.ClipText(), QString());
    field.insert("123");
    QCOMPARE(field.ClipText(), QString("123"));
}

void tst_MaskedEdit::oddStoredValueIsKeptUntilTheFieldChanges_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("afterBackspace");

    QTest::newRow("phone with extension") << masks::PhoneNumber << 0 << "800555123412"
                                          << "800555123";
    QTest::newRow("phone with punctuation") << masks::PhoneNumber << 0 << "555-1234"
                                            << "555123";
    QTest::newRow("no digits") << masks::PhoneNumber << 0 << "abc"
                               << "";
    QTest::newRow("zip plus four") << masks::ZipCode << 0 << "02134-1234"
                                   << "0213";
    QTest::newRow("PIN longer than its limit") << masks::Pin << 10 << "12345678901"
                                               << "123456789";
}

// Loading and saving an untouched dialog must store exactly what was stored, even when the field
// cannot show the value whole; once the user changes the field it reports what it shows.
void tst_MaskedEdit::oddStoredValueIsKeptUntilTheFieldChanges()
{
    QFETCH(QString, mask);
    QFETCH(int, maxLength);
    QFETCH(QString, stored);
    QFETCH(QString, afterBackspace);

    MaskedEdit field;
    field.setOriginalMask(mask);
    if (maxLength > 0) {
        field.setMaxLength(maxLength);
    }
    field.setStoredText(stored);
    QCOMPARE(field.ClipText(), stored);

    showFocused(field);
    field.end(false);
    QTest::keyClick(&field, Qt::Key_Backspace);
    QCOMPARE(field.ClipText(), afterBackspace);

    // Every edit undone: the field is as loaded again.
    QTest::keyClick(&field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(field.ClipText(), stored);

    // Loading another value replaces the kept one.
    field.setStoredText(QString());
    QCOMPARE(field.ClipText(), QString());
}

void tst_MaskedEdit::loadingLeavesNoUndoStepAndNoEdit()
{
    MaskedEdit field;
    field.setOriginalMask(masks::ExpirationDate);
    QSignalSpy edited(&field, &QLineEdit::textEdited);
    field.setStoredText("503");
    QCOMPARE(edited.count(), 0);
    QVERIFY(!field.isModified());
    QVERIFY(!field.isUndoAvailable());
}

QTEST_MAIN(tst_MaskedEdit)
#include "tst_MaskedEdit.moc"
