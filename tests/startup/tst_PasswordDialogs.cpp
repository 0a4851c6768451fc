#include "General.h"
#include "Platform.h"
#include "ScriptedSeam.h"
#include "TestSupport.h"
#include "frm_Login.h"
#include "frm_PasswordCheck.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using testsupport::row;

// Both dialogs look and behave alike; they differ in where the result goes and in the message
// for an empty entry. Each test runs for both.
enum class Kind { Login, Check };
Q_DECLARE_METATYPE(Kind)

namespace {

std::unique_ptr<QDialog> make(Kind kind)
{
    if (kind == Kind::Login) {
        return std::make_unique<frm_Login>();
    }
    return std::make_unique<frm_PasswordCheck>();
}

// The dialog's own "left with OK" flag.
bool leftWithOk(Kind kind, QDialog* dialog)
{
    if (kind == Kind::Login) {
        return static_cast<frm_Login*>(dialog)->ibool_OK;
    }
    return gbool_PasswordCheckOK;
}

QString entered(Kind kind)
{
    return kind == Kind::Login ? gstr_Password : gstr_CheckPassword;
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
    void init()
    {
        gstr_Password.clear();
        gstr_CheckPassword.clear();
        gbool_PasswordCheckOK = false;
    }

    void looksAlikeWithFocusInTheBoxAndAsterisks_data() { addKinds(); }
    void looksAlikeWithFocusInTheBoxAndAsterisks()
    {
        QFETCH(Kind, kind);
        testsupport::ScriptedSeam seam;
        auto dialog = make(kind);
        QVERIFY(!(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("cb_OK"));
        auto* cancel = dialog->findChild<QPushButton*>(QStringLiteral("cb_Cancel"));
        QVERIFY(ok && cancel);
        QVERIFY(ok->isDefault());

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

    void enteredTextIsKeptExactlyAsTyped_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("typed");
        for (Kind kind : {Kind::Login, Kind::Check}) {
            const char* name = kind == Kind::Login ? "login" : "check";
            QTest::addRow("%s plain", name) << kind << QStringLiteral("secret");
            QTest::addRow("%s blanks around", name) << kind << QStringLiteral("  Mixed Case ");
            QTest::addRow("%s one blank", name) << kind << QStringLiteral(" ");
            QTest::addRow("%s connect syntax", name) << kind << QStringLiteral("a;PWD='';b=\"c\"");
            QTest::addRow("%s not latin", name) << kind << QStringLiteral("p\u00e4\u00df\u4e2d");
        }
    }
    void enteredTextIsKeptExactlyAsTyped()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, typed);
        testsupport::ScriptedSeam seam;
        auto dialog = make(kind);
        seam.queueScript([&](QDialog* d) {
            type(box(d), typed);
            QTest::keyClick(box(d), Qt::Key_Return);
        });
        QCOMPARE(platform::ShowModal(dialog.get()), int(QDialog::Accepted));
        QCOMPARE(seam.leftOpen, 0);
        QVERIFY(seam.messages.isEmpty());
        QVERIFY(leftWithOk(kind, dialog.get()));
        QCOMPARE(entered(kind), typed);
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
        gstr_Password = QStringLiteral("earlier");
        gstr_CheckPassword = QStringLiteral("earlier");

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
        QCOMPARE(entered(kind), QStringLiteral("earlier"));
    }

    void everyWayOutButOkCountsAsCancel_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("way");
        for (Kind kind : {Kind::Login, Kind::Check}) {
            const char* name = kind == Kind::Login ? "login" : "check";
            for (const char* way : {"cancel button", "escape", "window closed"}) {
                QTest::addRow("%s %s", name, way) << kind << QString::fromLatin1(way);
            }
        }
    }
    void everyWayOutButOkCountsAsCancel()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, way);
        testsupport::ScriptedSeam seam;
        // An earlier check had succeeded; this one must not inherit that.
        gbool_PasswordCheckOK = true;
        auto dialog = make(kind);
        seam.queueScript([&](QDialog* d) {
            QTest::keyClicks(box(d), QStringLiteral("typed"));
            if (way == QLatin1String("cancel button")) {
                QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cb_Cancel")), Qt::LeftButton);
            } else if (way == QLatin1String("escape")) {
                QTest::keyClick(box(d), Qt::Key_Escape);
            } else {
                d->close();
            }
        });
        QCOMPARE(platform::ShowModal(dialog.get()), int(QDialog::Rejected));
        QCOMPARE(seam.leftOpen, 0);
        QVERIFY(seam.messages.isEmpty());
        QVERIFY(!leftWithOk(kind, dialog.get()));
        QVERIFY(entered(kind).isEmpty());
    }

    void eachCheckStartsEmptyAndForgetsTheLastResult()
    {
        testsupport::ScriptedSeam seam;
        {
            frm_PasswordCheck first;
            seam.queueScript([](QDialog* d) {
                QTest::keyClicks(box(d), QStringLiteral("right"));
                QTest::keyClick(box(d), Qt::Key_Return);
            });
            platform::ShowModal(&first);
            QVERIFY(gbool_PasswordCheckOK);
        }
        frm_PasswordCheck second;
        QVERIFY(!gbool_PasswordCheckOK);
        QVERIFY(box(&second)->text().isEmpty());
        QCOMPARE(gstr_CheckPassword, QStringLiteral("right"));
    }
};

QTEST_MAIN(tst_PasswordDialogs)
#include "tst_PasswordDialogs.moc"
