#include "DataControl.h"
#include "EngineFixture.h"
#include "General.h"
#include "HoverHelp.h"
#include "MainWindowFixture.h"
#include "TestSupport.h"
#include "TrayControl.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using testsupport::row;

// The window tasks as the main window wires them: its own <Vanish>, tray menu and fields.
class tst_MainWindowTasks : public QObject
{
    Q_OBJECT

private:
    static void enter(QDialog* dialog, const QString& password)
    {
        dialog->findChild<QLineEdit*>(QStringLiteral("sle_Password"))->setText(password);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cb_OK")), Qt::LeftButton);
    }

private slots:
    // Locked means closed: nothing of the file stays open or on screen while the window is away,
    // and the right password opens the file again on the records the pages showed.
    void lockedWindowHoldsNothingUntilThePasswordOpensTheFile()
    {
        MainWindowFixture f(QStringLiteral("Secret"));
        f.add(QStringLiteral("[Personal Information]"), {{QStringLiteral("Name"), QStringLiteral("Ann")}});
        for (const char* card : {"Alpha", "Beta", "Gamma"}) {
            f.add(QStringLiteral("[Credit Cards]"), {{QStringLiteral("Credit Card"), QString::fromLatin1(card)}});
        }
        f.add(QStringLiteral("[Web Accounts]"), {{QStringLiteral("Web Site"), QStringLiteral("Site")},
                                                 {QStringLiteral("Password"), QStringLiteral("pw")}});
        frm_Main& main = f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QVERIFY(!main.dataControl(Category::Credit)->MoveNext());
        QCOMPARE(f.text("sle_CreditCard"), QStringLiteral("Beta"));
        main.menuItem("mnu_ViewLock")->trigger();
        QVERIFY(gbool_Lock);

        // The test desktop has no notification area: the window goes to the task bar.
        main.menuItem("mnu_Vanish")->trigger();
        QVERIFY(main.isMinimized());
        auto closed = [&] {
            QVERIFY(!gdb_Data);
            QVERIFY(gstr_Password.isEmpty() && gstr_Connect.isEmpty());
            for (const Category category : categories::listed()) {
                QVERIFY(!main.dataControl(category)->IsAttached());
            }
            for (const QLineEdit* field : main.findChildren<QLineEdit*>()) {
                QVERIFY2(field->text().isEmpty(), qPrintable(field->objectName()));
            }
        };
        closed();

        f.seam.queueScript([](QDialog* dialog) { enter(dialog, QStringLiteral("secret")); });
        main.showNormal();
        QTRY_VERIFY(main.isMinimized());
        QCOMPARE(f.seam.messages.size(), 1);
        closed();

        f.seam.queueScript([](QDialog* dialog) { enter(dialog, QStringLiteral("Secret")); });
        main.showNormal();
        QTest::qWait(20);
        QCOMPARE(f.seam.modalDialogs.size(), 2);
        QVERIFY(!main.isMinimized() && main.isVisible());
        QCOMPARE(main.trayControl().state(), TrayControl::State::Shown);
        QVERIFY(gdb_Data && gdb_Data->IsOpen());
        QCOMPARE(fixture::text(gstr_Password), QStringLiteral("Secret"));
        QCOMPARE(f.text("sle_Name"), QStringLiteral("Ann"));
        QCOMPARE(f.text("sle_CreditCard"), QStringLiteral("Beta"));
        QCOMPARE(f.text("sle_WebPassword"), QStringLiteral("pw"));
    }

    void trayMenuCreatesOverTheRestoredWindow_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("dialogs");
        row("right password", "Secret", 1);
        row("wrong password", "Secret1", 0);
    }
    void trayMenuCreatesOverTheRestoredWindow()
    {
        QFETCH(QString, entry);
        QFETCH(int, dialogs);
        MainWindowFixture f(QStringLiteral("Secret"));
        frm_Main& main = f.show();
        main.menuItem("mnu_ViewLock")->trigger();
        main.menuItem("mnu_Vanish")->trigger();
        f.seam.queueScript([entry](QDialog* dialog) { enter(dialog, entry); });
        f.queueDialog(MainWindowFixture::saveName(QStringLiteral("Example")));
        main.trayControl().menuItem("mnu_SysTrayCreateWeb")->trigger();
        QCOMPARE(f.dialogCalls.size(), dialogs);
        if (dialogs > 0) {
            QCOMPARE(f.dialogCalls[0].category, QStringLiteral("Web"));
            QCOMPARE(f.text("sle_WebAccount"), QStringLiteral("Example"));
        }
        QCOMPARE(main.isMinimized(), dialogs == 0);
    }
};

QTEST_MAIN(tst_MainWindowTasks)
#include "tst_MainWindowTasks.moc"
