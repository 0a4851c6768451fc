// The change-password dialog on a real data file.

#include "EngineFixture.h"
#include "General.h"
#include "ScriptedSeam.h"
#include "Statements.h"
#include "TestSupport.h"
#include "frm_Password.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using testsupport::row;

using testsupport::ScriptedSeam;

class tst_PasswordChange : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<frm_Password> m_dialog;
    int m_resets = 0;

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
    QLineEdit* box(const char* name) { return m_dialog->findChild<QLineEdit*>(name); }
    // Shows the dialog, types into the three boxes and presses Enter.
    void enter(const QString& oldPw, const QString& newPw, const QString& again)
    {
        m_dialog->show();
        QTest::keyClicks(box("sle_OldPassword"), oldPw);
        QTest::keyClicks(box("sle_NewPassword"), newPw);
        QTest::keyClicks(box("sle_NewPasswordAgain"), again);
        QTest::keyClick(box("sle_NewPasswordAgain"), Qt::Key_Return);
    }
    int openWith(const QString& password)
    {
        dao::DatabasePtr db;
        return dao::DBEngine::OpenDatabase(gstr_DataFile, false, false, statements::connectWith(password), db).number();
    }

private slots:
    void initTestCase() { fixture::useCheapKdf(); }
    void cleanup()
    {
        m_dialog.reset();
        gdb_Data.reset();
    }

    void refusals_data()
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
    void refusals()
    {
        QFETCH(QString, filePassword);
        QFETCH(QString, oldPw);
        QFETCH(QString, newPw);
        QFETCH(QString, again);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        start(filePassword);
        ScriptedSeam seam;
        enter(oldPw, newPw, again);
        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages[0].text, message);
        QCOMPARE(seam.messages[0].title, QString("Password"));
        QCOMPARE(seam.messages[0].flags, 64);
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_dialog->focusWidget() ? m_dialog->focusWidget()->objectName() : QString(), focus);
        const bool mismatch = message.startsWith("New");
        QCOMPARE(box("sle_NewPasswordAgain")->text(), mismatch ? QString() : again); // only the re-type emptied
        QCOMPARE(box("sle_OldPassword")->text(), oldPw);
        QCOMPARE(m_resets, 0);
        QCOMPARE(fixture::text(gstr_Password), filePassword);
        QCOMPARE(openWith(filePassword), 0);
        QVERIFY(!seam.busy);
    }

    void failureKeepsTheOldPasswordEverywhere()
    {
        start("old");
        ScriptedSeam seam;
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
        QVERIFY(!m_dialog->ibool_Changed);
        QCOMPARE(fixture::text(gstr_Password), QString("old"));
        QVERIFY(gdb_Data && gdb_Data->IsOpen()); // reopened with the old password
        QCOMPARE(fixture::column(*gdb_Data, statements::listView(Category::Web), "Web Site"), QStringList{"kept"});
        gdb_Data.reset();
        QCOMPARE(openWith("new"), 3031);
    }
};

QTEST_MAIN(tst_PasswordChange)
#include "tst_PasswordChange.moc"
