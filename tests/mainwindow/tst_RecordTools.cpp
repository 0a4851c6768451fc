// Find, copying with a time limit and the password report, driven from the main window with
// the keyboard as a person without a mouse would.

#include "MainWindowFixture.h"
#include "RecordTools.h"
#include "SecretClipboard.h"

#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QTabWidget>
#include <QTest>

namespace {

int page(frm_Main& main)
{
    return main.findChild<QTabWidget*>(QStringLiteral("tp_Data"))->currentIndex();
}

} // namespace

class tst_RecordTools : public QObject
{
    Q_OBJECT

private slots:
    void findShowsTheChosenRecord_data();
    void findShowsTheChosenRecord();
    void copyKeysTakeTheValueOfThePageInFront_data();
    void copyKeysTakeTheValueOfThePageInFront();
    void reportRowLeadsToItsRecord();
};

void tst_RecordTools::findShowsTheChosenRecord_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("keys"); // after typing, in the Find window
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("shown"); // the web account's name box; empty: nothing moved
    QTest::newRow("Enter in the box takes the first") << "user" << QList<int>{Qt::Key_Return} << 2 << "Beta";
    QTest::newRow("Down into the list, Down, Enter")
        << "user" << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return} << 2 << "Gamma";
    QTest::newRow("a card by its holder") << "holder" << QList<int>{Qt::Key_Down, Qt::Key_Return} << 0 << "Alpha";
    QTest::newRow("Esc closes, nothing moves") << "gamma" << QList<int>{Qt::Key_Escape} << 0 << "Alpha";
    QTest::newRow("nothing found, Enter does nothing")
        << "zzz" << QList<int>{Qt::Key_Return, Qt::Key_Escape} << 0 << "Alpha";
}

void tst_RecordTools::findShowsTheChosenRecord()
{
    QFETCH(QString, typed);
    QFETCH(QList<int>, keys);
    QFETCH(int, page);
    QFETCH(QString, shown);
    MainWindowFixture f;
    f.add("[Web Accounts]", {{"Web Site", "Alpha"}, {"Login", "nobody"}});
    f.add("[Web Accounts]", {{"Web Site", "Beta"}, {"Login", "user.b"}, {"Password", "user-secret"}});
    f.add("[Web Accounts]", {{"Web Site", "Gamma"}, {"Login", "USER.g"}});
    f.add("[Credit Cards]", {{"Credit Card", "Alpha"}, {"Account Name", "Card Holder"}});
    frm_Main& main = f.show();
    main.showPage(Category::Credit);
    f.seam.queueScript([&](QDialog* dialog) {
        QApplication::setActiveWindow(dialog);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        // The box has the focus: the window is used from the keyboard alone.
        auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY2(box != nullptr,
                 QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "none");
        QTest::keyClicks(box, typed);
        for (const int key : keys) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        }
    });
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(f.seam.modalDialogs, QStringList{"frm_Find"});
    QCOMPARE(f.seam.leftOpen, 0);
    QCOMPARE(::page(main), page);
    QCOMPARE(main.nameBox(page == 0 ? Category::Credit : Category::Web)->text(), shown);
}

void tst_RecordTools::copyKeysTakeTheValueOfThePageInFront_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("shift"); // Ctrl+Shift+C, else Ctrl+B
    QTest::addColumn<QString>("copied");
    QTest::addColumn<bool>("secret");
    QTest::addColumn<QString>("item"); // what the Edit menu calls Ctrl+Shift+C there
    QTest::newRow("web password") << "Web" << true << "pw 1&<x>" << true << "Copy &Password";
    QTest::newRow("card number") << "Credit" << true << "4111111111111111" << true << "Copy Card &Number";
    QTest::newRow("PIN") << "Travel" << true << "2468" << true << "Copy &PIN";
    QTest::newRow("the web login, from any page") << "Travel" << false << "jo@x.com" << false << "Copy &PIN";
}

void tst_RecordTools::copyKeysTakeTheValueOfThePageInFront()
{
    QFETCH(QString, page);
    QFETCH(bool, shift);
    QFETCH(QString, copied);
    QFETCH(bool, secret);
    QFETCH(QString, item);
    MainWindowFixture f;
    f.add("[Web Accounts]", {{"Web Site", "Site"}, {"Login", "jo@x.com"}, {"Password", "pw 1&<x>"}});
    f.add("[Credit Cards]", {{"Credit Card", "Card"}, {"Account Number", "4111111111111111"}});
    f.add("[Travel Programs]", {{"Travel Program", "Miles"}, {"PIN Number", "2468"}});
    frm_Main& main = f.show();
    main.showPage(categories::named(page)->kind);
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&main, shift ? Qt::Key_C : Qt::Key_B,
                    Qt::ControlModifier | (shift ? Qt::ShiftModifier : Qt::NoModifier));
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    QCOMPARE(QGuiApplication::clipboard()->mimeData()->hasFormat(SecretClipboard::kHintFormat), secret);
    QCOMPARE(main.menuItem("mnu_EditCopySecret")->text(), item);

    // Locked, the program leaves nothing to copy.
    main.wf_LockData();
    QTest::keyClick(&main, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(f.seam.beeps, 1);
}

void tst_RecordTools::reportRowLeadsToItsRecord()
{
    MainWindowFixture f;
    f.add("[Web Accounts]", {{"Web Site", "Alpha"}, {"Password", "a long and lonely password"}});
    f.add("[Web Accounts]", {{"Web Site", "Beta"}, {"Password", "short"}});
    f.add("[Credit Cards]", {{"Credit Card", "Old Card"}, {"Expiration Date", "0120"}});
    frm_Main& main = f.show();
    QStringList rows;
    f.seam.queueScript([&](QDialog* dialog) {
        auto* list = dialog->findChild<QListView*>(QStringLiteral("lv_ReportRows"));
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            rows << list->model()->index(row, 0).data().toString();
        }
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
    });
    main.menuItem("mnu_ViewPasswordReport")->trigger();
    QCOMPARE(rows,
             QStringList({"Beta - Web Accounts: short password (5 characters)", "Old Card - Credit Cards: expired"}));
    QCOMPARE(::page(main), 0);
    QCOMPARE(main.nameBox(Category::Credit)->text(), QStringLiteral("Old Card"));
}

QTEST_MAIN(tst_RecordTools)
#include "tst_RecordTools.moc"
