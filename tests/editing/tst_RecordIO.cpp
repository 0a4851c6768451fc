#include "DropDownLists.h"
#include "EditingTestData.h"
#include "FileOps.h"
#include "MaskedEdit.h"
#include "RecordIO.h"
#include "Schema.h"
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

#include <cerrno>

using namespace editingtest;

namespace {

// Writes fail as on a full disk; everything else goes to the system.
class FullDisk : public dao::FileOps
{
public:
    ssize_t write(int /*fd*/, const void* /*buffer*/, size_t /*count*/) override
    {
        errno = ENOSPC;
        return -1;
    }
};

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
    void untouchedSaveKeepsEveryStoredValue_data();
    void untouchedSaveKeepsEveryStoredValue();
    void loadShowsPhoneDigitsAndChosenCard();
    void newCreditCardStoresChosenTypeOrNone_data();
    void newCreditCardStoresChosenTypeOrNone();
    void blankNameOfNewRecordIsRefused_data();
    void blankNameOfNewRecordIsRefused();
    void longStoredValueKeepsItsRoomAlone();
    void newRecordIdComesBack_data();
    void newRecordIdComesBack();
    void editingRecordDeletedMeanwhileChangesNothing();
    void personalTableNeverGetsSecondRecord();
    void failedSaveKeepsDialogAndEntriesAndFile();
    void unusableRecordIdIsReportedAndOpensEmpty_data();
    void unusableRecordIdIsReportedAndOpensEmpty();
    void listsOfferStoredValuesSortedWithoutCase_data();
    void listsOfferStoredValuesSortedWithoutCase();
    void largeFileListsArriveWhileTyping();
    void listsKeepTheLoadedText();
};

void tst_RecordIO::untouchedSaveKeepsEveryStoredValue_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QVariantMap>("stored");

    // Longer than the fields' limits (255, 2,048): shown whole and stored back unchanged.
    const QString longText = QString(3000, u'x') + QStringLiteral("END");
    QTest::newRow("web") << "Web"
                         << QVariantMap{{"Web Site", "Ann's \"Board\"; --"},
                                        {"Site Type", null()},
                                        {"URL", longText},
                                        {"Login", longText.right(300)},
                                        {"Password", "  pa ss  "},
                                        {"E-Mail Address", ""},
                                        {"Notes", QStringLiteral("one\r\ntwo\ttab \u00FCn\u00EFcode \u20AC\r\n")}};
    QTest::newRow("credit") << "Credit"
                            << QVariantMap{{"Credit Card", "Main"},
                                           {"Card Type", " 3"},
                                           {"Account Name", null()},
                                           {"Account Number", "1234567890123456789012345"},
                                           {"Expiration Date", "053_"},
                                           {"Phone Number", "55512_____"},
                                           {"Notes", null()}};
    QTest::newRow("credit, odd type and date") << "Credit"
                                               << QVariantMap{{"Credit Card", "Old"},
                                                              {"Card Type", "7"},
                                                              {"Account Name", "Ann"},
                                                              {"Account Number", "12"},
                                                              {"Expiration Date", "12/345"},
                                                              {"Phone Number", "555-1234 ext 9"},
                                                              {"Notes", ""}};
    QTest::newRow("travel") << "Travel"
                            << QVariantMap{{"Travel Program", "Miles"},
                                           {"Program Type", "Air"},
                                           {"Account Name", "Ann"},
                                           {"Account Number", "ab12"},
                                           {"PIN Number", "ABCDEFGHIJKLMNOP"},
                                           {"Web Account", longText.right(256)},
                                           {"Phone Number", "5551234"},
                                           {"Notes", "x"}};
    QTest::newRow("personal") << "Personal"
                              << QVariantMap{{"Name", "A. O'Neil-Smith"},
                                             {"Address", longText},
                                             {"City", null()},
                                             {"State", "XX"},
                                             {"Zip Code", "0213"},
                                             {"Phone Number", ""},
                                             {"E-Mail Address", "e@example.org"}};
}

void tst_RecordIO::untouchedSaveKeepsEveryStoredValue()
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
    QCOMPARE(storedRow(category, id), before);
    QCOMPARE(rowCount(category), 1);
}

void tst_RecordIO::loadShowsPhoneDigitsAndChosenCard()
{
    DataFile file;
    testsupport::ScriptedSeam seam;
    const qint64 id = fixture::addRecord(
        *gdb_Data, tableOf("Credit"),
        {{"Credit Card", "Main"}, {"Card Type", " 3"}, {"Phone Number", "8005551234"}, {"Notes", null()}});
    frm_CreditCards dialog;
    dialog.Form_Load(QString::number(id));
    QCOMPARE(child<MaskedEdit>(&dialog, "sle_PhoneNumber")->Text(), QStringLiteral("(800) 555-1234"));
    QVERIFY(child<QAbstractButton>(&dialog, "ob_CreditCard_3")->isChecked());
    QCOMPARE(child<QLineEdit>(&dialog, "sle_CreditCard")->text(), QStringLiteral("Main"));
    QVERIFY(child<QPlainTextEdit>(&dialog, "mle_Notes")->toPlainText().isEmpty());
}

void tst_RecordIO::newCreditCardStoresChosenTypeOrNone_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("cardType");
    QTest::newRow("none chosen") << ""
                                 << "";
    QTest::newRow("second") << "ob_CreditCard_2"
                            << " 2";
    QTest::newRow("other") << "ob_CreditCard_5"
                           << " 5";
}

void tst_RecordIO::newCreditCardStoresChosenTypeOrNone()
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

void tst_RecordIO::blankNameOfNewRecordIsRefused_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("nameField");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("existing");
    for (bool existing : {false, true}) {
        const QByteArray how = existing ? "renamed " : "new ";
        QTest::newRow(how + "web") << "Web"
                                   << "sle_WebSite"
                                   << "Please enter a name for this web site." << existing;
        QTest::newRow(how + "travel") << "Travel"
                                      << "sle_TravelProgram"
                                      << "Please enter a name for this travel program." << existing;
        QTest::newRow(how + "credit") << "Credit"
                                      << "sle_CreditCard"
                                      << "Please enter a name for this credit card." << existing;
    }
}

void tst_RecordIO::blankNameOfNewRecordIsRefused()
{
    QFETCH(QString, category);
    QFETCH(QString, nameField);
    QFETCH(QString, message);
    QFETCH(bool, existing);
    DataFile file;
    testsupport::ScriptedSeam seam;
    const QString nameColumn = statements::category(category)->nameField.mid(1).chopped(1);
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
void tst_RecordIO::longStoredValueKeepsItsRoomAlone()
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

void tst_RecordIO::newRecordIdComesBack_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<qint64>("highestId");
    for (const char* category : {"Web", "Travel", "Credit"}) {
        QTest::addRow("%s, first", category) << category << qint64(0);
        QTest::addRow("%s, above 16 bits", category) << category << qint64(40000);
        QTest::addRow("%s, near the top", category) << category << qint64(2147483000);
    }
}

void tst_RecordIO::newRecordIdComesBack()
{
    QFETCH(QString, category);
    QFETCH(qint64, highestId);
    DataFile file;
    testsupport::ScriptedSeam seam;
    const QString key = statements::category(category)->keyField.mid(1).chopped(1);
    const QString name = statements::category(category)->nameField.mid(1).chopped(1);
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

void tst_RecordIO::editingRecordDeletedMeanwhileChangesNothing()
{
    DataFile file;
    testsupport::ScriptedSeam seam;
    const qint64 kept = fixture::addRecord(*gdb_Data, tableOf("Web"), {{"Web Site", "Kept"}});
    const qint64 gone = fixture::addRecord(*gdb_Data, tableOf("Web"), {{"Web Site", "Gone"}});
    frm_WebAccounts dialog;
    dialog.Form_Load(QString::number(gone));
    {
        dao::RecordsetPtr rs;
        QVERIFY(!gdb_Data->OpenRecordset(statements::loadRecord(*statements::category("Web"), gone), rs,
                                         dao::dbOpenDynaset));
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

void tst_RecordIO::personalTableNeverGetsSecondRecord()
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

void tst_RecordIO::failedSaveKeepsDialogAndEntriesAndFile()
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

    FullDisk fullDisk;
    dao::setFileOps(&fullDisk);
    dialog.cb_OK_Click();
    dao::setFileOps(nullptr);

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

void tst_RecordIO::unusableRecordIdIsReportedAndOpensEmpty_data()
{
    QTest::addColumn<QString>("recordId");
    QTest::addColumn<QString>("message");
    QTest::newRow("text") << "abc"
                          << "Error: Type mismatch [13]";
    QTest::newRow("empty") << ""
                           << "Error: Type mismatch [13]";
    QTest::newRow("above 32 bits") << "2147483648"
                                   << "Error: Overflow [6]";
    QTest::newRow("far above") << "123456789012345678901234"
                               << "Error: Overflow [6]";
    QTest::newRow("negative") << "-1"
                              << "Error: Overflow [6]";
    QTest::newRow("largest, no such record") << "2147483647"
                                             << "";
}

void tst_RecordIO::unusableRecordIdIsReportedAndOpensEmpty()
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

void tst_RecordIO::listsOfferStoredValuesSortedWithoutCase_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("combo");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("logins: digit first out, every letter folded")
        << "Web"
        << "ddlb_Login" << QStringList{"Ann", "you4", "éa", "Éz"};
    QTest::newRow("passwords: empty and Null out") << "Web"
                                                   << "ddlb_Password" << QStringList{"A", "b"};
    QTest::newRow("site types from two tables") << "Web"
                                                << "ddlb_SiteType" << QStringList{"Air", "forum", "Hotel"};
    QTest::newRow("e-mail: the repeat once") << "Web"
                                             << "ddlb_EMailAddress" << QStringList{"me@x.org", "Zed@x.org"};
    QTest::newRow("web accounts: repeats kept in order") << "Travel"
                                                         << "ddlb_WebAccount" << QStringList{"bank", "Shop", "shop"};
    QTest::newRow("program types") << "Travel"
                                   << "ddlb_ProgramType" << QStringList{"Air", "Hotel"};
    QTest::newRow("names of three tables") << "Travel"
                                           << "ddlb_AccountName" << QStringList{"Ann", "Bob", "zoe"};
    QTest::newRow("card names") << "Credit"
                                << "ddlb_AccountName" << QStringList{"Ann", "Bob", "zoe"};
    QTest::newRow("personal e-mail") << "Personal"
                                     << "ddlb_EMailAddress" << QStringList{"me@x.org", "Zed@x.org"};
    QTest::newRow("states in table order") << "Personal"
                                           << "ddlb_State" << schema::stateCodes();
}

void tst_RecordIO::listsOfferStoredValuesSortedWithoutCase()
{
    QFETCH(QString, category);
    QFETCH(QString, combo);
    QFETCH(QStringList, expected);
    DataFile file;
    testsupport::ScriptedSeam seam;
    const QString web = tableOf("Web");
    fixture::addRecord(*gdb_Data, web,
                       {{"Web Site", "Shop"},
                        {"Login", "4you"},
                        {"Password", "b"},
                        {"Site Type", "Hotel"},
                        {"E-Mail Address", "me@x.org"}});
    fixture::addRecord(*gdb_Data, web,
                       {{"Web Site", "shop"},
                        {"Login", "you4"},
                        {"Password", "A"},
                        {"Site Type", "forum"},
                        {"E-Mail Address", "Zed@x.org"}});
    fixture::addRecord(*gdb_Data, web,
                       {{"Web Site", "bank"}, {"Login", "Ann"}, {"Password", ""}, {"Site Type", null()}});
    fixture::addRecord(*gdb_Data, web, {{"Web Site", null()}, {"Login", "Éz"}, {"Password", null()}});
    fixture::addRecord(*gdb_Data, web, {{"Web Site", null()}, {"Login", "éa"}});
    fixture::addRecord(*gdb_Data, tableOf("Travel"),
                       {{"Travel Program", "Stay"}, {"Program Type", "Hotel"}, {"Account Name", "zoe"}});
    fixture::addRecord(*gdb_Data, tableOf("Travel"),
                       {{"Travel Program", "Fly"}, {"Program Type", "Air"}, {"Account Name", "Bob"}});
    fixture::addRecord(*gdb_Data, tableOf("Credit"), {{"Credit Card", "Card"}, {"Account Name", "Bob"}});
    fixture::addRecord(*gdb_Data, tableOf("Personal"), {{"Name", "Ann"}, {"E-Mail Address", "me@x.org"}});

    const std::unique_ptr<EditDialog> dialog = dialogFor(category);
    dialog->Form_Load(QStringLiteral("0"));
    QCOMPARE(items(child<QComboBox>(dialog.get(), combo.toLatin1().constData())), expected);
    QVERIFY(seam.messages.isEmpty());
}

void tst_RecordIO::largeFileListsArriveWhileTyping()
{
    // Enough records that the lists are read on another thread, and more logins than anybody
    // scrolls through.
    DataFile file;
    QStringList logins;
    QVERIFY(!dao::DBEngine::BeginTrans());
    for (int i = dropdown::kFillAtOnceRecords; i >= 0; --i) {
        const QString login = QStringLiteral("%1user%2").arg(i % 2 ? QStringLiteral("B") : QStringLiteral("b")).arg(i);
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
    QCOMPARE(login->completer()->completionCount(),
             logins.filter(QRegularExpression(QStringLiteral("^buser19"), QRegularExpression::CaseInsensitiveOption))
                 .size());

    // A dialog closed before its lists arrive drops them.
    auto closed = std::make_unique<frm_WebAccounts>();
    closed->Form_Load(QStringLiteral("0"));
    closed.reset();
    QTest::qWait(50);
}

void tst_RecordIO::listsKeepTheLoadedText()
{
    DataFile file;
    testsupport::ScriptedSeam seam;
    fixture::addRecord(*gdb_Data, tableOf("Personal"), {{"Name", "Ann"}, {"State", null()}, {"E-Mail Address", "b@x"}});
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

QTEST_MAIN(tst_RecordIO)
#include "tst_RecordIO.moc"
