#include "InputRules.h"
#include "MaskedEdit.h"
#include "ScriptedSeam.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

using testsupport::row;

namespace {

void showFocused(MaskedEdit& field)
{
    field.show();
    QApplication::setActiveWindow(&field);
    field.setFocus();
}

} // namespace

class tst_MaskedEdit : public QObject
{
    Q_OBJECT

private slots:
    void untouchedFieldGivesBackStoredValue_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");

        row("phone 3", masks::PhoneNumber, "123", "(___) ___-_123");
        row("phone 7", masks::PhoneNumber, "5551234", "(___) 555-1234");
        row("phone 10", masks::PhoneNumber, "8005551234", "(800) 555-1234");
        row("zip 3", masks::ZipCode, "021", "__021");
        row("expiration 3", masks::ExpirationDate, "503", "_5/03");
        row("expiration 4", masks::ExpirationDate, "0503", "05/03");
        row("PIN 10", masks::Pin, "a1-b2 c3'.", "a1-b2 c3'.");
        row("unfinished phone kept in place", masks::PhoneNumber, "55512_____", "(555) 12_-____");
        row("one-digit year kept in place", masks::ExpirationDate, "053_", "05/3_");
    }
    void untouchedFieldGivesBackStoredValue()
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
    void typedDigitsWithoutLiteralsOrBlanks_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<int>("startAt");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("entered");

        row("area code and two digits", masks::PhoneNumber, 0, false, "55512", "(555) 12_-____", "55512");
        row("number without area code", masks::PhoneNumber, 6, false, "5551234", "(___) 555-1234", "5551234");
        row("dashes typed", masks::PhoneNumber, 0, false, "800-555-1234", "(800) 555-1234", "8005551234");
        row("country code pasted", masks::PhoneNumber, 0, true, "+1 800 555 1234", "(800) 555-1234", "8005551234");
        row("letters ignored", masks::PhoneNumber, 0, false, "8a0b0", "(800) ___-____", "800");
        row("one-digit year", masks::ExpirationDate, 0, false, "05/3", "05/3_", "053");
        row("zip pasted over the cursor", masks::ZipCode, 3, true, "02134", "02134", "02134");
        row("zip plus four refused whole", masks::ZipCode, 0, true, "02134-1234", "_____", "");
    }

    // Typed with real keys or pasted with the paste key; what is stored shows again as it was.
    void typedDigitsWithoutLiteralsOrBlanks()
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
    void onlyDigitsZeroToNineGetIn()
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
    void oddStoredValueIsKeptUntilTheFieldChanges_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("afterBackspace");

        row("phone with extension", masks::PhoneNumber, 0, "800555123412", "800555123");
        row("phone with punctuation", masks::PhoneNumber, 0, "555-1234", "555123");
        row("no digits", masks::PhoneNumber, 0, "abc", "");
        row("zip plus four", masks::ZipCode, 0, "02134-1234", "0213");
        row("PIN longer than its limit", masks::Pin, 10, "12345678901", "123456789");
    }

    // Loading and saving an untouched dialog must store exactly what was stored, even when the field
    // cannot show the value whole; once the user changes the field it reports what it shows.
    void oddStoredValueIsKeptUntilTheFieldChanges()
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
    void loadingLeavesNoUndoStepAndNoEdit()
    {
        MaskedEdit field;
        field.setOriginalMask(masks::ExpirationDate);
        QSignalSpy edited(&field, &QLineEdit::textEdited);
        field.setStoredText("503");
        QCOMPARE(edited.count(), 0);
        QVERIFY(!field.isModified());
        QVERIFY(!field.isUndoAvailable());
    }
};

QTEST_MAIN(tst_MaskedEdit)
#include "tst_MaskedEdit.moc"
