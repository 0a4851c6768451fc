#include "Accessibility.h"
#include "Platform.h"
#include "ScriptedSeam.h"
#include "TestSupport.h"
#include "Windows.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

using testsupport::row;

namespace {

const QString kSecret = QStringLiteral("Hunter2Zq");

// Everything the interface of a field tells about its text.
QStringList exposedTexts(QWidget* field)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(field);
    QStringList texts;
    for (QAccessible::Text kind : {QAccessible::Name, QAccessible::Value, QAccessible::Description, QAccessible::Help,
                                   QAccessible::Accelerator}) {
        texts << face->text(kind);
    }
    if (QAccessibleTextInterface* text = face->textInterface()) {
        const int count = text->characterCount();
        texts << text->text(0, std::max(count, int(kSecret.size())));
        for (int offset = 0; offset <= count; ++offset) {
            int start = 0;
            int end = 0;
            for (QAccessible::TextBoundaryType boundary : {QAccessible::CharBoundary, QAccessible::WordBoundary,
                                                           QAccessible::LineBoundary, QAccessible::NoBoundary}) {
                texts << text->textAtOffset(offset, boundary, &start, &end)
                      << text->textBeforeOffset(offset, boundary, &start, &end)
                      << text->textAfterOffset(offset, boundary, &start, &end);
            }
        }
    }
    return texts;
}

bool revealsSecret(const QStringList& texts)
{
    for (const QString& text : texts) {
        // Any three characters of the secret in a row would tell too much.
        for (qsizetype i = 0; i + 3 <= kSecret.size(); ++i) {
            if (text.contains(kSecret.mid(i, 3))) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

class tst_MaskedSecrets : public QObject
{
    Q_OBJECT

private slots:
    void maskedFieldKeepsItsSecret_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("field");
        row("login", "Login", "sle_Password");
        row("old password", "Password", "sle_OldPassword");
    }
    void maskedFieldKeepsItsSecret()
    {
        QFETCH(QString, window);
        QFETCH(QString, field);
        testsupport::ScriptedSeam seam;
        auto shown = accesscheck::makeWindow(window);
        QVERIFY(accesscheck::showActive(shown.get()));
        auto* box = shown->findChild<QLineEdit*>(field);
        QVERIFY(box != nullptr);
        QCOMPARE(box->echoMode(), QLineEdit::Password);
        box->setFocus();
        QTest::keyClicks(box, kSecret);
        QTest::keyClick(box, Qt::Key_Left);
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(box->text().size(), kSecret.size() - 1);

        const QStringList texts = exposedTexts(box);
        QVERIFY2(!revealsSecret(texts), qPrintable(texts.join(QStringLiteral(" | "))));
        // Still a field the reader can tell is filled: one mask character per character typed, as
        // its value and as its text.
        const QString drawn(kSecret.size() - 1, QLatin1Char('*'));
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(box);
        QCOMPARE(face->text(QAccessible::Value), drawn);
        QVERIFY(face->textInterface() != nullptr);
        QCOMPARE(face->textInterface()->characterCount(), int(drawn.size()));
        QCOMPARE(face->textInterface()->text(0, int(drawn.size())), drawn);
    }
    void clearFieldStillReadsItsText()
    {
        // The check above would pass on an interface that reads nothing at all.
        QWidget window;
        auto* field = new QLineEdit(&window);
        platform::usePasswordCharacter(field);
        QVERIFY(accesscheck::showActive(&window));
        field->setFocus();
        QTest::keyClicks(field, kSecret);
        field->setEchoMode(QLineEdit::Normal);
        QVERIFY(revealsSecret(exposedTexts(field)));
    }
};

QTEST_MAIN(tst_MaskedSecrets)
#include "tst_MaskedSecrets.moc"
