// The login and check prompts, and the change-password dialog on a real data file.

#include "EngineFixture.h"
#include "General.h"
#include "PasswordPrompt.h"
#include "Platform.h"
#include "ScriptedSeam.h"
#include "Statements.h"
#include "TestSupport.h"
#include "frm_Password.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using testsupport::row;

// Both prompts behave alike; they differ in the flag that tells how they were left and in the
// message for an empty entry.
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

QLineEdit* box(QDialog* dialog, const char* name = "sle_Password")
{
    return dialog->findChild<QLineEdit*>(name);
}

// Types any text, also characters outside ASCII that keyClicks cannot send.
void type(QWidget* widget, const QString& text)
{
    for (const QChar character : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character), Qt::NoModifier);
    }
}

} // namespace

class tst_PasswordDialogs : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<frm_Password> m_dialog;
    int m_resets = 0;

    // A data file with a record, open as the program has it, and the change-password dialog.
    void start(const QString& password)
    {
        m_dir = std::make_unique<QTemporaryDir>();
        gstr_DataFile = fixture::createDataFile(m_dir->path(), password);
        gstr_Password = dao::SecureBytes::fromText(password);
        gstr_Connect = statements::connectWith(password);
        {
            dao::DatabasePtr db = fixture::open(gstr_DataFile, password);
            fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "kept"}});
        }
        QVERIFY(!dao::DBEngine::OpenDatabase(gstr_DataFile, false, false, gstr_Connect, gdb_Data));
        m_dialog = std::make_unique<frm_Password>();
        m_resets = 0;
        m_dialog->setResetDataControls([this] { ++m_resets; });
    }
    // Shows the change-password dialog, types into the three boxes and presses Enter.
    void enter(const QString& oldPw, const QString& newPw, const QString& again)
    {
        m_dialog->show();
        QTest::keyClicks(box(m_dialog.get(), "sle_OldPassword"), oldPw);
        QTest::keyClicks(box(m_dialog.get(), "sle_NewPassword"), newPw);
        QTest::keyClicks(box(m_dialog.get(), "sle_NewPasswordAgain"), again);
        QTest::keyClick(box(m_dialog.get(), "sle_NewPasswordAgain"), Qt::Key_Return);
    }
    int openWith(const QString& password)
    {
        dao::DatabasePtr db;
        return dao::DBEngine::OpenDatabase(gstr_DataFile, false, false, statements::connectWith(password), db).number();
    }

private slots:
    void initTestCase() { fixture::useCheapKdf(); }
    void init() { gbool_PasswordCheckOK = false; }
    void cleanup()
    {
        m_dialog.reset();
        gdb_Data.reset();
    }

    void onlyOkHandsBackTheTextAsTyped_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("refusal"); // said twice, and the dialog stays
        for (Kind kind : {Kind::Login, Kind::Check}) {
            const char* name = kind == Kind::Login ? "login" : "check";
            QTest::addRow("%s blanks around", name) << kind << QStringLiteral("  Mixed Case ") << "enter" << QString();
            QTest::addRow("%s one blank", name) << kind << QStringLiteral(" ") << "enter" << QString();
            QTest::addRow("%s connect syntax", name)
                << kind << QStringLiteral("a;PWD='';b=\"c\"") << "enter" << QString();
            QTest::addRow("%s not latin", name)
                << kind << QStringLiteral("p\u00e4\u00df\u4e2d") << "enter" << QString();
            for (const char* way : {"cancel button", "escape", "window closed"}) {
                QTest::addRow("%s %s", name, way) << kind << QStringLiteral("typed") << QString(way) << QString();
            }
            QTest::addRow("%s empty", name)
                << kind << QString() << "ok button"
                << QString(kind == Kind::Login ? "Password is incorrect." : "Please enter a password.");
        }
    }
    // Every way out but OK counts as Cancel; whichever it was, the box keeps no copy.
    void onlyOkHandsBackTheTextAsTyped()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, typed);
        QFETCH(QString, way);
        QFETCH(QString, refusal);
        testsupport::ScriptedSeam seam;
        gbool_PasswordCheckOK = true; // an earlier check succeeded: a new one forgets that
        auto dialog = make(kind);
        QVERIFY(!leftWithOk(kind, dialog.get()));
        QWidget* focusedAfterRefusal = nullptr;
        seam.queueScript([&](QDialog* d) {
            type(box(d), typed);
            if (way == QLatin1String("enter")) {
                QTest::keyClick(box(d), Qt::Key_Return);
            } else if (way == QLatin1String("cancel button")) {
                QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cb_Cancel")), Qt::LeftButton);
            } else if (way == QLatin1String("escape")) {
                QTest::keyClick(box(d), Qt::Key_Escape);
            } else if (way == QLatin1String("window closed")) {
                d->close();
            } else {
                d->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(d));
                // Away from the box first, so that getting back there is the dialog's doing.
                auto* ok = d->findChild<QPushButton*>(QStringLiteral("cb_OK"));
                ok->setFocus();
                QTest::mouseClick(ok, Qt::LeftButton);
                focusedAfterRefusal = QApplication::focusWidget();
                QTest::keyClick(box(d), Qt::Key_Return); // Enter does the same as the button
            }
        });
        const bool ok = way == QLatin1String("enter");
        QCOMPARE(platform::ShowModal(dialog.get()), int(ok ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(seam.leftOpen, refusal.isEmpty() ? 0 : 1);
        QCOMPARE(seam.messages.size(), refusal.isEmpty() ? 0 : 2);
        for (const auto& shown : seam.messages) {
            QCOMPARE(shown.text, refusal);
            QCOMPARE(shown.title, QStringLiteral("Corvanta Password"));
            QCOMPARE(shown.flags, 64);
        }
        QCOMPARE(focusedAfterRefusal, refusal.isEmpty() ? nullptr : box(dialog.get()));
        QCOMPARE(leftWithOk(kind, dialog.get()), ok);
        QCOMPARE(fixture::text(dialog->takePassword()), ok ? typed : QString());
        QVERIFY(box(dialog.get())->text().isEmpty());
    }

    void changeRefusals_data()
    {
        QTest::addColumn<QString>("filePassword");
        QTest::addColumn<QString>("oldPw");
        QTest::addColumn<QString>("newPw");
        QTest::addColumn<QString>("again");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        row("no password set, text in old box", "", "x", "a", "a", "Old password is incorrect.", "sle_OldPassword");
        row("old differs in case", "Secret", "secret", "a", "a", "Old password is incorrect.", "sle_OldPassword");
        row("re-type differs in case", "Secret", "Secret", "New", "new", "New passwords do not match.",
            "sle_NewPassword");
        row("mismatch is checked first", "Secret", "wrong", "a", "b", "New passwords do not match.", "sle_NewPassword");
    }
    void changeRefusals()
    {
        QFETCH(QString, filePassword);
        QFETCH(QString, oldPw);
        QFETCH(QString, newPw);
        QFETCH(QString, again);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        start(filePassword);
        testsupport::ScriptedSeam seam;
        enter(oldPw, newPw, again);
        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages[0].text, message);
        QCOMPARE(seam.messages[0].title, QString("Password"));
        QCOMPARE(seam.messages[0].flags, 64);
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_dialog->focusWidget() ? m_dialog->focusWidget()->objectName() : QString(), focus);
        const bool mismatch = message.startsWith("New");
        QCOMPARE(box(m_dialog.get(), "sle_NewPasswordAgain")->text(),
                 mismatch ? QString() : again); // only the re-type emptied
        QCOMPARE(box(m_dialog.get(), "sle_OldPassword")->text(), oldPw);
        QCOMPARE(m_resets, 0);
        QCOMPARE(fixture::text(gstr_Password), filePassword);
        QCOMPARE(openWith(filePassword), 0);
        QVERIFY(!seam.busy);
    }

    void failureKeepsTheOldPasswordEverywhere()
    {
        start("old");
        testsupport::ScriptedSeam seam;
        {
            // Another program has the file open, so it cannot be had exclusively.
            fixture::OtherProgram holder(gstr_DataFile, false, "old");
            QVERIFY(holder.opened());
            enter("old", "new", "new");
        }
        QCOMPARE(seam.messages.size(), 1);
        QVERIFY(seam.messages[0].text.startsWith("Error: "));
        QVERIFY(seam.messages[0].text.endsWith("[3045]"));
        QCOMPARE(seam.messages[0].title, QString("Corvanta Error"));
        QVERIFY(!m_dialog->changed());
        QCOMPARE(fixture::text(gstr_Password), QString("old"));
        QVERIFY(gdb_Data && gdb_Data->IsOpen()); // reopened with the old password
        QCOMPARE(fixture::column(*gdb_Data, statements::listView(Category::Web), "Web Site"), QStringList{"kept"});
        gdb_Data.reset();
        QCOMPARE(openWith("new"), 3031);
    }
};

QTEST_MAIN(tst_PasswordDialogs)
#include "tst_PasswordDialogs.moc"
