#include "EngineFixture.h"
#include "General.h"
#include "PasswordPrompt.h"
#include "Platform.h"
#include "ScriptedSeam.h"
#include "TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using testsupport::row;

// Both dialogs look and behave alike; they differ in the flag that tells how they were left and
// in the message for an empty entry. Each test runs for both.
using Kind = PasswordPrompt::Kind;
Q_DECLARE_METATYPE(PasswordPrompt::Kind)

namespace {

std::unique_ptr<PasswordPrompt> make(Kind kind)
{
    if (kind == Kind::Login) {
        return std::make_unique<frm_Login>();
    }
    return std::make_unique<frm_PasswordCheck>();
}

// The login's flag, or the global one of the check.
bool leftWithOk(Kind kind, PasswordPrompt* dialog)
{
    return kind == Kind::Login ? dialog->ibool_OK : gbool_PasswordCheckOK;
}

QLineEdit* box(QDialog* dialog)
{
    return dialog->findChild<QLineEdit*>(QStringLiteral("sle_Password"));
}

// Types any text, also characters outside ASCII that keyClicks cannot send.
void type(QWidget* widget, const QString& text)
{
    for (const QChar character : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character), Qt::NoModifier);
    }
}

void addKinds()
{
    QTest::addColumn<Kind>("kind");
    row("login", Kind::Login);
    row("check", Kind::Check);
}

} // namespace

class tst_PasswordDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init() { gbool_PasswordCheckOK = false; }

    void looksAlikeWithFocusInTheBoxAndAsterisks_data() { addKinds(); }
    void looksAlikeWithFocusInTheBoxAndAsterisks()
    {
        QFETCH(Kind, kind);
        testsupport::ScriptedSeam seam;
        auto dialog = make(kind);
        QVERIFY(!(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

        QWidget* focused = nullptr;
        QString shown;
        seam.queueScript([&](QDialog* d) {
            // Minimised by the window manager all the same, it comes straight back.
            d->showMinimized();
            QTRY_VERIFY(!d->isMinimized() && d->isVisible());
            d->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(d));
            focused = QApplication::focusWidget();
            QTest::keyClicks(focused, QStringLiteral("Secret"));
            shown = box(d)->displayText();
        });
        platform::ShowModal(dialog.get());
        QCOMPARE(focused, box(dialog.get()));
        QCOMPARE(shown, QStringLiteral("******"));
    }

    void onlyOkHandsBackTheTextAsTyped_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("way");
        for (Kind kind : {Kind::Login, Kind::Check}) {
            const char* name = kind == Kind::Login ? "login" : "check";
            QTest::addRow("%s plain", name) << kind << QStringLiteral("secret") << "enter";
            QTest::addRow("%s blanks around", name) << kind << QStringLiteral("  Mixed Case ") << "enter";
            QTest::addRow("%s one blank", name) << kind << QStringLiteral(" ") << "enter";
            QTest::addRow("%s connect syntax", name) << kind << QStringLiteral("a;PWD='';b=\"c\"") << "enter";
            QTest::addRow("%s not latin", name) << kind << QStringLiteral("p\u00e4\u00df\u4e2d") << "enter";
            for (const char* way : {"cancel button", "escape", "window closed"}) {
                QTest::addRow("%s %s", name, way) << kind << QStringLiteral("typed") << QString::fromLatin1(way);
            }
        }
    }
    // Every way out but OK counts as Cancel; whichever it was, the box keeps no copy.
    void onlyOkHandsBackTheTextAsTyped()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, typed);
        QFETCH(QString, way);
        testsupport::ScriptedSeam seam;
        gbool_PasswordCheckOK = true; // an earlier check succeeded: a new one forgets that
        auto dialog = make(kind);
        QVERIFY(!leftWithOk(kind, dialog.get()));
        seam.queueScript([&](QDialog* d) {
            type(box(d), typed);
            if (way == QLatin1String("enter")) {
                QTest::keyClick(box(d), Qt::Key_Return);
            } else if (way == QLatin1String("cancel button")) {
                QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cb_Cancel")), Qt::LeftButton);
            } else if (way == QLatin1String("escape")) {
                QTest::keyClick(box(d), Qt::Key_Escape);
            } else {
                d->close();
            }
        });
        const bool ok = way == QLatin1String("enter");
        QCOMPARE(platform::ShowModal(dialog.get()), int(ok ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(seam.leftOpen, 0);
        QVERIFY(seam.messages.isEmpty());
        QCOMPARE(leftWithOk(kind, dialog.get()), ok);
        QCOMPARE(fixture::text(dialog->takePassword()), ok ? typed : QString());
        QVERIFY(box(dialog.get())->text().isEmpty());
    }

    void emptyEntryIsRefusedWithItsMessage_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("message");
        row("login", Kind::Login, QStringLiteral("Password is incorrect."));
        row("check", Kind::Check, QStringLiteral("Please enter a password."));
    }
    void emptyEntryIsRefusedWithItsMessage()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, message);
        testsupport::ScriptedSeam seam;
        auto dialog = make(kind);

        bool stillOpen = false;
        QWidget* focused = nullptr;
        seam.queueScript([&](QDialog* d) {
            d->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(d));
            // Away from the box first, so that getting back there is the dialog's doing.
            auto* ok = d->findChild<QPushButton*>(QStringLiteral("cb_OK"));
            ok->setFocus();
            QTest::mouseClick(ok, Qt::LeftButton);
            stillOpen = d->isVisible();
            focused = QApplication::focusWidget();
            // Enter does the same as the button.
            QTest::keyClick(box(d), Qt::Key_Return);
        });
        QCOMPARE(platform::ShowModal(dialog.get()), int(QDialog::Rejected));
        QVERIFY(stillOpen);
        QCOMPARE(focused, box(dialog.get()));
        QCOMPARE(seam.leftOpen, 1);
        QCOMPARE(seam.messages.size(), 2);
        for (const auto& shown : seam.messages) {
            QCOMPARE(shown.text, message);
            QCOMPARE(shown.title, QStringLiteral("Corvanta Password"));
            QCOMPARE(shown.flags, platform::vbInformation);
        }
        QVERIFY(!leftWithOk(kind, dialog.get()));
        QVERIFY(dialog->takePassword().isEmpty());
    }
};

QTEST_MAIN(tst_PasswordDialogs)
#include "tst_PasswordDialogs.moc"
