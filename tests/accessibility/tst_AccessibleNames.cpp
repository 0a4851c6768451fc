#include "AccessCheck.h"
#include "ScriptedSeam.h"
#include "Windows.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using accesscheck::nameOf;

namespace {

void row(const char* window, const char* control, const char* expected)
{
    QTest::addRow("%s %s", window, control) << QString(window) << QString(control) << QString(expected);
}

} // namespace

class tst_AccessibleNames : public QObject
{
    Q_OBJECT

private slots:
    void controlsAreNamed_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("expected");
        // The label that names a field is its buddy; one field of each kind per window.
        row("Personal", "sle_Name", "Name");
        row("Personal", "ddlb_State", "State");
        row("Credit", "sle_CreditCard", "Credit Card Name");
        row("Credit", "ob_CreditCard_3", "American Express");
        row("Credit", "ddlb_AccountName", "Name on Card");
        row("Credit", "mle_Notes", "Notes");
        row("Travel", "sle_PIN", "PIN");
        row("Web", "sle_URL", "Web Address");
        row("Web", "ddlb_Password", "Password");
        row("Login", "sle_Password", "Password");
        row("Password", "sle_NewPasswordAgain", "Re-type Password");
        row("About", "cb_SysInfo", "System Info...");
    }
    void controlsAreNamed()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, expected);
        testsupport::ScriptedSeam seam;
        auto shown = accesscheck::makeWindow(window);
        auto* widget = shown->findChild<QWidget*>(control);
        QVERIFY(widget != nullptr);
        QCOMPARE(nameOf(widget), expected);
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            QCOMPARE(nameOf(combo->lineEdit()), expected);
        }
        if (auto* notes = qobject_cast<QPlainTextEdit*>(widget)) {
            QVERIFY2(notes->tabChangesFocus(), "Tab would stay in the notes box");
        }
    }

    void everyControlOfEveryWindowIsNamed_data()
    {
        QTest::addColumn<QString>("window");
        for (const QString& key : accesscheck::windowKeys()) {
            QTest::newRow(qPrintable(key)) << key;
        }
    }
    void everyControlOfEveryWindowIsNamed()
    {
        QFETCH(QString, window);
        testsupport::ScriptedSeam seam;
        auto shown = accesscheck::makeWindow(window);
        const QStringList unnamed = accesscheck::unnamedControls(shown.get());
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(tst_AccessibleNames)
#include "tst_AccessibleNames.moc"
