#include "DropDownLists.h"
#include "EditingTestData.h"
#include "MaskedEdit.h"
#include "RecordIO.h"
#include "ScriptedSeam.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QComboBox>
#include <QCompleter>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>

using testsupport::row;

using namespace editingtest;

namespace {

QVariant null()
{
    return QVariant();
}

QStringList items(QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i) {
        texts << combo->itemText(i);
    }
    return texts;
}

} // namespace

class tst_RecordIO : public QObject
{
    Q_OBJECT

private slots:
    void untouchedSaveKeepsEveryStoredValue_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QVariantMap>("stored");

        // Longer than the fields' limits (255, 2,048): shown whole and stored back unchanged.
        const QString longText = QString(3000, u'x') + QStringLiteral("END");
        row("web", "Web",
            QVariantMap{{"Web Site", "Ann's \"Board\"; --"},
                        {"Site Type", null()},
                        {"URL", longText},
                        {"Login", longText.right(300)},
                        {"Password", " pa ss "},
                        {"E-Mail Address", ""},
                        {"Notes", QStringLiteral("one\r\ntwo\ttab \u00FCn\u00EFcode \u20AC\r\n")}});
        row("credit", "Credit",
            QVariantMap{{"Credit Card", "Main"},
                        {"Card Type", " 3"},
                        {"Account Name", null()},
                        {"Account Number", "1234567890123456789012345"},
                        {"Expiration Date", "053_"},
                        {"Phone Number", "55512_____"},
                        {"Notes", null()}});
        row("credit, odd type and date", "Credit",
            QVariantMap{{"Credit Card", "Old"},
                        {"Card Type", "7"},
                        {"Account Name", "Ann"},
                        {"Account Number", "12"},
                        {"Expiration Date", "12/345"},
                        {"Phone Number", "555-1234 ext 9"},
                        {"Notes", ""}});
        row("travel", "Travel",
            QVariantMap{{"Travel Program", "Miles"},
                        {"Program Type", "Air"},
                        {"Account Name", "Ann"},
                        {"Account Number", "ab12"},
                        {"PIN Number", "ABCDEFGHIJKLMNOP"},
                        {"Web Account", longText.right(256)},
                        {"Phone Number", "5551234"},
                        {"Notes", "x"}});
        row("personal", "Personal",
            QVariantMap{{"Name", "A. O'Neil-Smith"},
                        {"Address", longText},
                        {"City", null()},
                        {"State", "XX"},
                        {"Zip Code", "0213"},
                        {"Phone Number", ""},
                        {"E-Mail Address", "e@example.org"}});
    }
    void untouchedSaveKeepsEveryStoredValue()
    {
        QFETCH(QString, category);
        QFETCH(QVariantMap, stored);
        DataFile file;
        testsupport::ScriptedSeam seam;
        const qint64 id = fixture::addRecord(*gdb_Data, tableOf(category), stored);
        const QVariantMap before = storedRow(category, id);

        auto dialog = dialogFor(category);
        dialog->Form_Load(QString::number(id));
        dialog->cb_OK_Click();

        QVERIFY(seam.messages.isEmpty());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        // What the file holds once opened again: Null stays Null, empty stays empty.
        gdb_Data = fixture::open(file.path);
        QCOMPARE(storedRow(category, id), before);
        for (auto it = stored.begin(); it != stored.end(); ++it) {
            QCOMPARE(before.value(it.key()), it.value());
        }
        QCOMPARE(rowCount(category), 1);
    }
    void newCreditCardStoresChosenTypeOrNone_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("cardType");
        row("none chosen", "", "");
        row("second", "ob_CreditCard_2", " 2");
        row("other", "ob_CreditCard_5", " 5");
    }
    void newCreditCardStoresChosenTypeOrNone()
    {
        QFETCH(QString, button);
        QFETCH(QString, cardType);
        DataFile file;
        testsupport::ScriptedSeam seam;
        frm_CreditCards dialog;
        dialog.Form_Load(QStringLiteral("0"));
        child<QLineEdit>(&dialog, "sle_CreditCard")->setText(QStringLiteral("Travel card"));
        child<MaskedEdit>(&dialog, "sle_ExpirationDate")->setStoredText(QStringLiteral("0927"));
        if (!button.isEmpty()) {
            dialog.findChild<QAbstractButton*>(button)->click();
        }
        dialog.cb_OK_Click();

        const QVariantMap row = storedRow("Credit", dialog.istr_RecordID.toLongLong());
        QCOMPARE(row.value("Card Type"), QVariant(cardType));
        QCOMPARE(row.value("Credit Card"), QVariant(QStringLiteral("Travel card")));
        QCOMPARE(row.value("Expiration Date"), QVariant(QStringLiteral("0927")));
        QCOMPARE(row.value("Notes"), QVariant(QString()));
    }
    void blankNameOfNewRecordIsRefused_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("nameField");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("existing");
        for (bool existing : {false, true}) {
            const QByteArray how = existing ? "renamed " : "new ";
            row(how + "web", "Web", "sle_WebSite", "Please enter a name for this web site.", existing);
            row(how + "travel", "Travel", "sle_TravelProgram", "Please enter a name for this travel program.",
                existing);
            row(how + "credit", "Credit", "sle_CreditCard", "Please enter a name for this credit card.", existing);
        }
    }
    void blankNameOfNewRecordIsRefused()
    {
        QFETCH(QString, category);
        QFETCH(QString, nameField);
        QFETCH(QString, message);
        QFETCH(bool, existing);
        DataFile file;
        testsupport::ScriptedSeam seam;
        const QString nameColumn = categories::named(category)->nameField.mid(1).chopped(1);
        const qint64 id = existing ? fixture::addRecord(*gdb_Data, tableOf(category), {{nameColumn, "Old"}}) : 0;
        auto dialog = dialogFor(category);
        dialog->Form_Load(QString::number(id));
        dialog->show();
        auto* name = dialog->findChild<QLineEdit*>(nameField);
        name->setText(QStringLiteral("   "));
        child<QWidget>(dialog.get(), "mle_Notes")->setFocus();
        dialog->cb_OK_Click();

        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages.at(0).text, message);
        QCOMPARE(seam.messages.at(0).title, QStringLiteral("Corvanta Error"));
        QCOMPARE(seam.messages.at(0).flags, 64);
        QCOMPARE(dialog->focusWidget(), name);
        QVERIFY(dialog->isVisible());
        QCOMPARE(rowCount(category), existing ? 1 : 0);
        QCOMPARE(storedRow(category, 1).value(nameColumn), existing ? QVariant("Old") : QVariant());
        QVERIFY(!dao::DBEngine::InTransaction());

        name->setText(QStringLiteral("Named"));
        dialog->cb_OK_Click();
        QCOMPARE(rowCount(category), 1);
        QCOMPARE(dialog->istr_RecordID, QStringLiteral("1"));
    }

    // The room a longer stored value needs is its alone: a new value pasted over it, or what is left
    // once it fits again, has the field's own limit.
    void longStoredValueKeepsItsRoomAlone()
    {
        DataFile file;
        testsupport::ScriptedSeam seam;
        const QString stored(300, u'n');
        const qint64 id = fixture::addRecord(*gdb_Data, tableOf("Web"), {{"Web Site", stored}});
        frm_WebAccounts dialog;
        dialog.Form_Load(QString::number(id));
        auto* name = child<QLineEdit>(&dialog, "sle_WebSite");
        QCOMPARE(name->text(), stored);

        name->selectAll();
        QGuiApplication::clipboard()->setText(QString(256, u'p'));
        QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(name->text(), stored);
        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages.at(0).title, QStringLiteral("Invalid"));

        name->setSelection(0, 50);
        name->del();
        QCOMPARE(name->maxLength(), 255);
        dialog.cb_OK_Click();
        QCOMPARE(storedRow("Web", id).value("Web Site"), QVariant(stored.left(250)));
    }
    void newRecordIdComesBack_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<qint64>("highestId");
        row("Web, first", "Web", qint64(0));
        row("Travel, above 16 bits", "Travel", qint64(40000));
        row("Credit, near the top", "Credit", qint64(2147483000));
    }
    void newRecordIdComesBack()
    {
        QFETCH(QString, category);
        QFETCH(qint64, highestId);
        DataFile file;
        testsupport::ScriptedSeam seam;
        const QString key = categories::named(category)->keyField.mid(1).chopped(1);
        const QString name = categories::named(category)->nameField.mid(1).chopped(1);
        if (highestId > 0) {
            QCOMPARE(fixture::addRecord(*gdb_Data, tableOf(category), {{key, highestId}, {name, "Old"}}), highestId);
        }
        auto dialog = dialogFor(category);
        dialog->Form_Load(QStringLiteral("0"));
        dialog->findChild<QLineEdit*>(QLatin1String("sle_") + QString(name).remove(u' '))->setText("New");
        dialog->cb_OK_Click();

        QVERIFY(seam.messages.isEmpty());
        QCOMPARE(dialog->istr_RecordID, QString::number(highestId + 1));
        QCOMPARE(storedRow(category, highestId + 1).value(name), QVariant(QStringLiteral("New")));

        // The record with the high id can be edited again.
        auto again = dialogFor(category);
        again->Form_Load(dialog->istr_RecordID);
        QCOMPARE(again->iint_RecordID, highestId + 1);
        again->findChild<QLineEdit*>(QLatin1String("sle_") + QString(name).remove(u' '))->setText("Renamed");
        again->cb_OK_Click();
        QVERIFY(seam.messages.isEmpty());
        QCOMPARE(storedRow(category, highestId + 1).value(name), QVariant(QStringLiteral("Renamed")));
        QCOMPARE(again->istr_RecordID, QString::number(highestId + 1));
    }
    void editingRecordDeletedMeanwhileChangesNothing()
    {
        DataFile file;
        testsupport::ScriptedSeam seam;
        const qint64 kept = fixture::addRecord(*gdb_Data, tableOf("Web"), {{"Web Site", "Kept"}});
        const qint64 gone = fixture::addRecord(*gdb_Data, tableOf("Web"), {{"Web Site", "Gone"}});
        frm_WebAccounts dialog;
        dialog.Form_Load(QString::number(gone));
        {
            dao::RecordsetPtr rs;
            QVERIFY(!gdb_Data->OpenRecordset(statements::loadRecord(Category::Web, gone), rs, dao::dbOpenDynaset));
            QVERIFY(!rs->Delete());
        }
        child<QLineEdit>(&dialog, "sle_URL")->setText(QStringLiteral("changed"));
        dialog.cb_OK_Click();

        QCOMPARE(seam.messages.size(), 1);
        QVERIFY(seam.messages.at(0).text.startsWith(QStringLiteral("Error: ")));
        QVERIFY(seam.messages.at(0).text.endsWith(QStringLiteral(" [3021]")));
        QCOMPARE(seam.messages.at(0).title, QStringLiteral("Corvanta Error"));
        QCOMPARE(seam.messages.at(0).flags, 64);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(rowCount("Web"), 1);
        QCOMPARE(storedRow("Web", kept).value("URL"), QVariant());
        QVERIFY(!dao::DBEngine::InTransaction());
    }
    void personalTableNeverGetsSecondRecord()
    {
        DataFile file;
        testsupport::ScriptedSeam seam;
        for (const char* name : {"First", "Second"}) {
            frm_PersonalInformation dialog;
            dialog.Form_Load(QStringLiteral("12"));
            child<QLineEdit>(&dialog, "sle_Name")->setText(QLatin1String(name));
            dialog.cb_OK_Click();
            QCOMPARE(rowCount("Personal"), 1);
            QCOMPARE(storedRow("Personal", 0).value("Name"), QVariant(QLatin1String(name)));
        }
        QVERIFY(seam.messages.isEmpty());
    }
    void failedSaveKeepsDialogAndEntriesAndFile()
    {
        DataFile file;
        testsupport::ScriptedSeam seam;
        const QByteArray before = testsupport::readFile(file.path);
        frm_WebAccounts dialog;
        dialog.Form_Load(QStringLiteral("0"));
        dialog.show();
        child<QLineEdit>(&dialog, "sle_WebSite")->setText(QStringLiteral("Shop"));
        child<QComboBox>(&dialog, "ddlb_Login")->setEditText(QStringLiteral("ann"));
        child<QPlainTextEdit>(&dialog, "mle_Notes")->setPlainText(QStringLiteral("notes"));

        {
            fixture::FailAt fullDisk("write");
            dialog.cb_OK_Click();
        }

        QCOMPARE(seam.messages.size(), 1);
        QVERIFY(seam.messages.at(0).text.startsWith(QStringLiteral("Error: ")));
        QCOMPARE(seam.messages.at(0).title, QStringLiteral("Corvanta Error"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.istr_RecordID, QStringLiteral("0"));
        QCOMPARE(child<QLineEdit>(&dialog, "sle_WebSite")->text(), QStringLiteral("Shop"));
        QCOMPARE(child<QComboBox>(&dialog, "ddlb_Login")->currentText(), QStringLiteral("ann"));
        QCOMPARE(child<QPlainTextEdit>(&dialog, "mle_Notes")->toPlainText(), QStringLiteral("notes"));
        QCOMPARE(rowCount("Web"), 0);
        QCOMPARE(testsupport::readFile(file.path), before);
        QVERIFY(!dao::DBEngine::InTransaction());

        // Once the disk takes writes again, the same OK stores the record.
        dialog.cb_OK_Click();
        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(rowCount("Web"), 1);
        QCOMPARE(storedRow("Web", dialog.istr_RecordID.toLongLong()).value("Login"), QVariant(QStringLiteral("ann")));
    }
    void unusableRecordIdIsReportedAndOpensEmpty_data()
    {
        QTest::addColumn<QString>("recordId");
        QTest::addColumn<QString>("message");
        row("text", "abc", "Error: Type mismatch [13]");
        row("empty", "", "Error: Type mismatch [13]");
        row("above 32 bits", "2147483648", "Error: Overflow [6]");
        row("far above", "123456789012345678901234", "Error: Overflow [6]");
        row("negative", "-1", "Error: Overflow [6]");
        row("largest, no such record", "2147483647", "");
    }
    void unusableRecordIdIsReportedAndOpensEmpty()
    {
        QFETCH(QString, recordId);
        QFETCH(QString, message);
        DataFile file;
        testsupport::ScriptedSeam seam;
        fixture::addRecord(*gdb_Data, tableOf("Web"), {{"Web Site", "Only"}});
        frm_WebAccounts dialog;
        dialog.Form_Load(recordId);
        QCOMPARE(seam.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(seam.messages.at(0).text, message);
            QCOMPARE(seam.messages.at(0).title, QStringLiteral("Corvanta Error"));
            QCOMPARE(dialog.iint_RecordID, qint64(0));
        }
        QVERIFY(child<QLineEdit>(&dialog, "sle_WebSite")->text().isEmpty());
    }
    void largeFileListsArriveWhileTyping()
    {
        // Enough records that the lists are read on another thread, and more logins than anybody
        // scrolls through.
        DataFile file;
        QStringList logins;
        QVERIFY(!dao::DBEngine::BeginTrans());
        for (int i = dropdown::kFillAtOnceRecords; i >= 0; --i) {
            const QString login =
                QStringLiteral("%1user%2").arg(i % 2 ? QStringLiteral("B") : QStringLiteral("b")).arg(i);
            fixture::addRecord(*gdb_Data, tableOf("Web"), {{"Web Site", "Shop"}, {"Login", login}});
            logins << login;
        }
        QVERIFY(!dao::DBEngine::CommitTrans());
        logins.sort(Qt::CaseInsensitive);

        frm_WebAccounts dialog;
        dialog.Form_Load(QStringLiteral("0"));
        dialog.show();
        auto* login = child<QComboBox>(&dialog, "ddlb_Login");
        login->setFocus();
        QTest::keyClicks(login, QStringLiteral("BUSER19"));
        login->lineEdit()->setCursorPosition(2);
        QTRY_COMPARE(login->count(), logins.size());
        QCOMPARE(items(login), logins);
        QCOMPARE(login->currentText(), QStringLiteral("BUSER19"));
        QCOMPARE(login->lineEdit()->cursorPosition(), 2);
        QCOMPARE(login->completer()->completionMode(), QCompleter::PopupCompletion);
        login->completer()->setCompletionPrefix(QStringLiteral("BUSER19"));
        QCOMPARE(
            login->completer()->completionCount(),
            logins.filter(QRegularExpression(QStringLiteral("^buser19"), QRegularExpression::CaseInsensitiveOption))
                .size());

        // A change to the file gives the reading's copy up: the lists are read anew, change and all.
        frm_WebAccounts changed;
        changed.Form_Load(QStringLiteral("0"));
        changed.show();
        fixture::addRecord(*gdb_Data, tableOf("Web"), {{"Web Site", "Shop"}, {"Login", "zed"}});
        QTRY_COMPARE(child<QComboBox>(&changed, "ddlb_Login")->count(), logins.size() + 1);

        // A dialog closed before its lists arrive drops them.
        auto closed = std::make_unique<frm_WebAccounts>();
        closed->Form_Load(QStringLiteral("0"));
        closed.reset();
        QTest::qWait(50);
    }
    void listsKeepTheLoadedText()
    {
        DataFile file;
        testsupport::ScriptedSeam seam;
        fixture::addRecord(*gdb_Data, tableOf("Personal"),
                           {{"Name", "Ann"}, {"State", null()}, {"E-Mail Address", "b@x"}});
        fixture::addRecord(*gdb_Data, tableOf("Web"), {{"Web Site", "Shop"}, {"E-Mail Address", "a@x"}});
        frm_PersonalInformation dialog;
        dialog.Form_Load(QStringLiteral("0"));
        QCOMPARE(child<QComboBox>(&dialog, "ddlb_EMailAddress")->currentText(), QStringLiteral("b@x"));
        QCOMPARE(child<QComboBox>(&dialog, "ddlb_State")->currentText(), QString());

        // Without a database the lists stay empty and nothing is said.
        gdb_Data.reset();
        frm_WebAccounts empty;
        empty.Form_Load(QStringLiteral("0"));
        QCOMPARE(child<QComboBox>(&empty, "ddlb_Login")->count(), 0);
        QVERIFY(seam.messages.isEmpty());
    }
};

QTEST_MAIN(tst_RecordIO)
#include "tst_RecordIO.moc"
