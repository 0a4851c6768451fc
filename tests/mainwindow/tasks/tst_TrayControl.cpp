#include "General.h"
#include "ScriptedSeam.h"
#include "TestSupport.h"
#include "TrayControl.h"

#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <memory>

using testsupport::row;

namespace {

using Script = testsupport::ScriptedSeam::Script;

Script enter(const QString& password)
{
    return [password](QDialog* dialog) {
        auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("sle_Password"));
        QVERIFY(box);
        box->setText(password);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cb_OK")), Qt::LeftButton);
    };
}

Script cancel()
{
    return [](QDialog* dialog) {
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cb_Cancel")), Qt::LeftButton);
    };
}

} // namespace

class tst_TrayControl : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<TrayControl> m_tray;
    bool m_trayAvailable = true;
    QPointer<QDialog> m_dialog;

    void make(bool trayAvailable)
    {
        m_trayAvailable = trayAvailable;
        m_window = std::make_unique<QWidget>();
        m_window->resize(300, 400);
        new QLineEdit(QStringLiteral("secret data"), m_window.get());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        // An edit dialog open at the lock, with what was typed into it.
        m_dialog = new QDialog(m_window.get());
        new QLineEdit(QStringLiteral("typed"), m_dialog);
        m_dialog->show();
        m_tray =
            std::make_unique<TrayControl>(m_window.get(), TrayControl::Commands(), [this] { return m_trayAvailable; });
        m_tray->AddTrayIcon();
    }
    void click(QSystemTrayIcon::ActivationReason reason) { emit m_tray->trayIcon()->activated(reason); }
    bool windowShown() const { return m_window->isVisible() && !m_window->isMinimized(); }
    bool coverShown() const
    {
        auto* cover = m_window->findChild<QWidget*>(QStringLiteral("TrayControlCover"), Qt::FindDirectChildrenOnly);
        return cover != nullptr && cover->isVisible() && cover->geometry() == m_window->rect();
    }
    // Covered, and nothing else of it left for a screen reader; what was typed is kept.
    bool dialogCovered() const
    {
        auto* cover = m_dialog->findChild<QWidget*>(QStringLiteral("TrayControlCover"));
        auto* typed = m_dialog->findChild<QLineEdit*>();
        return typed->text() == QLatin1String("typed") && typed->isHidden() && cover && cover->isVisible() &&
               cover->geometry() == m_dialog->rect();
    }
    // The way back of each kind of desktop: the icon, or the task bar giving the window back.
    void comeBack(bool fromTaskBar)
    {
        if (!fromTaskBar) {
            click(QSystemTrayIcon::DoubleClick);
        } else {
            m_window->showNormal();
            QTest::qWait(20);
        }
    }

private slots:
    void init()
    {
        gstr_Password = dao::SecureBytes::fromText(QStringLiteral("Secret"));
        gbool_Lock = true;
    }
    void cleanup()
    {
        m_tray.reset();
        m_window.reset();
    }

    void vanishAndComeBack_data()
    {
        QTest::addColumn<bool>("tray");
        QTest::addColumn<bool>("byDesktop"); // minimised by the window manager instead of <Vanish>
        QTest::addColumn<bool>("lock");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("entry"); // "-" cancels; empty: no dialog expected
        QTest::addColumn<bool>("back");
        QTest::addColumn<QString>("message");
        const QString wrong = QStringLiteral("The password is incorrect.");
        for (const bool tray : {true, false}) {
            for (const bool byDesktop : {false, true}) {
                const QString desk = QLatin1String(tray ? "tray, " : "no tray, ") +
                                     QLatin1String(byDesktop ? "desktop's minimise: " : "vanish: ");
                auto row = [&](const char* name, bool lock, const char* password, const char* entry, bool back,
                               const QString& message) {
                    QTest::newRow(qPrintable(desk + QString::fromLatin1(name)))
                        << tray << byDesktop << lock << QString(password) << QString(entry) << back << message;
                };
                row("lock off", false, "Secret", "", true, "");
                row("lock on, file without password", true, "", "", true, "");
                row("right password", true, "Secret", "Secret", true, "");
                row("wrong case", true, "Secret", "secret", false, wrong);
                row("cancel", true, "Secret", "-", false, "");
            }
        }
    }
    void vanishAndComeBack()
    {
        QFETCH(bool, tray);
        QFETCH(bool, byDesktop);
        QFETCH(bool, lock);
        QFETCH(QString, password);
        QFETCH(QString, entry);
        QFETCH(bool, back);
        QFETCH(QString, message);
        testsupport::ScriptedSeam seam;
        gbool_Lock = lock;
        gstr_Password = dao::SecureBytes::fromText(password);
        make(tray);
        const bool inTaskBar = !tray || byDesktop;

        if (byDesktop) {
            m_window->showMinimized();
        } else {
            m_tray->menuItem("mnu_Vanish")->trigger();
        }
        // Minimised in every case, so that the window's position is not stored while away.
        QVERIFY(m_window->isMinimized());
        QCOMPARE(m_window->isVisible(), inTaskBar);
        // Into the tray the desktop is only told to hide the window: asked to minimise it as well,
        // a desktop can keep it minimised when it is shown again.
        QCOMPARE(m_window->windowHandle()->windowStates().testFlag(Qt::WindowMinimized), inTaskBar);
        QCOMPARE(coverShown(), inTaskBar && lock && !password.isEmpty());
        QCOMPARE(dialogCovered(), lock && !password.isEmpty());

        if (!entry.isEmpty()) {
            seam.queueScript(entry == QLatin1String("-") ? cancel() : enter(entry));
        }
        comeBack(inTaskBar);
        QCOMPARE(seam.modalDialogs, entry.isEmpty() ? QStringList() : QStringList{QStringLiteral("frm_PasswordCheck")});
        QCOMPARE(seam.pendingScripts(), 0);
        QCOMPARE(windowShown(), back);
        QTRY_COMPARE(coverShown(), !back && inTaskBar);
        QCOMPARE(dialogCovered(), !back);
        QVERIFY(!back || m_dialog->findChild<QLineEdit*>()->isVisible());
        QCOMPARE(seam.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(seam.messages[0].text, message);
            QCOMPARE(seam.messages[0].title, QStringLiteral("Corvanta Password"));
        }
        QVERIFY(gstr_CheckPassword.isEmpty());
    }

    // The locks of a person walking away: whatever "Lock on Minimize" says, as long as the file
    // has a password; the window goes the way of a minimise under the lock.
    void awayLockCoversTheWindow_data()
    {
        QTest::addColumn<bool>("lockSetting");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("locks");
        row("lock setting off", false, "Secret", true);
        row("lock setting on", true, "Secret", true);
        row("no password", true, "", false);
    }
    void awayLockCoversTheWindow()
    {
        QFETCH(bool, lockSetting);
        QFETCH(QString, password);
        QFETCH(bool, locks);
        testsupport::ScriptedSeam seam;
        gbool_Lock = lockSetting;
        gstr_Password = dao::SecureBytes::fromText(password);
        make(true);
        m_tray->lockWindow();
        QCOMPARE(m_tray->isLocked(), locks);
        QCOMPARE(m_window->isMinimized(), locks);
        QCOMPARE(coverShown(), locks);
        if (locks) {
            seam.queueScript(enter(password));
            comeBack(true);
            QVERIFY(windowShown());
            QCOMPARE(seam.modalDialogs, QStringList{QStringLiteral("frm_PasswordCheck")});
            QVERIFY(!m_tray->isLocked());
        }
    }

    void noSecondCheckWhileOneIsUp()
    {
        testsupport::ScriptedSeam seam;
        make(true);
        m_tray->mnu_Vanish_Click();
        seam.queueScript([this, &seam](QDialog* dialog) {
            QCOMPARE(m_tray->passwordCheck(), dialog);
            click(QSystemTrayIcon::DoubleClick);
            click(QSystemTrayIcon::Context);
            QVERIFY(!m_tray->wf_RestoreApplication(true));
            QCOMPARE(seam.modalDialogs.size(), 1);
            QVERIFY(!m_tray->mnu_SysTray()->isVisible());
            enter(QStringLiteral("Secret"))(dialog);
        });
        seam.queueScript(cancel());
        click(QSystemTrayIcon::DoubleClick);
        QCOMPARE(seam.modalDialogs.size(), 1);
        QCOMPARE(seam.pendingScripts(), 1);
        QVERIFY(windowShown());
        QVERIFY(m_tray->passwordCheck() == nullptr);
    }

    void trayGoingAwayLeavesTheWindowInTheTaskBar()
    {
        testsupport::ScriptedSeam seam;
        make(true);
        m_tray->setTrayWatchInterval(10);
        m_tray->mnu_Vanish_Click();
        QVERIFY(!m_window->isVisible());
        m_trayAvailable = false;
        QTRY_VERIFY(m_window->isVisible());
        QVERIFY(m_window->isMinimized());
        QVERIFY(coverShown());
    }
};

QTEST_MAIN(tst_TrayControl)
#include "tst_TrayControl.moc"
