#include "InputRules.h"
#include "MaskedEdit.h"
#include "ScriptedSeam.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
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
    void typedDigitsWithoutLiteralsOrBlanks_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<int>("startAt");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("entered");

        row("area code and two digits", masks::PhoneNumber, 0, false, "55512", "(555) 12_-____", "55512");
        row("country code pasted", masks::PhoneNumber, 0, true, "+1 800 555 1234", "(800) 555-1234", "8005551234");
        row("letters ignored", masks::PhoneNumber, 0, false, "8a0b0", "(800) ___-____", "800");
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
};

QTEST_MAIN(tst_MaskedEdit)
#include "tst_MaskedEdit.moc"
