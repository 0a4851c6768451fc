#include "DesktopSeam.h"
#include "Platform.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

// Runs check on the message box once it is up, then presses the button it names.
void whenMessageBoxShows(std::function<QAbstractButton*(QMessageBox*)> check)
{
    QTimer::singleShot(0, [check] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            QTimer::singleShot(10, [check] { whenMessageBoxShows(check); });
            return;
        }
        QAbstractButton* press = check(box);
        if (press != nullptr) {
            press->click();
        } else {
            box->close();
        }
    });
}

} // namespace

class tst_DesktopSeam : public QObject
{
    Q_OBJECT

private slots:
    void messageBoxShowsTheIconAndButtonsOfItsFlags_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QList<int>>("buttons");
        QTest::addColumn<int>("defaultButton");
        QTest::addColumn<int>("pressed");
        QTest::addColumn<int>("answer");

        const int ok = QMessageBox::Ok;
        const int yes = QMessageBox::Yes;
        const int no = QMessageBox::No;
        QTest::newRow("stop") << 16 << int(QMessageBox::Critical) << QList<int>{ok} << ok << ok << platform::vbOK;
        QTest::newRow("information") << 64 << int(QMessageBox::Information) << QList<int>{ok} << ok << ok
                                     << platform::vbOK;
        QTest::newRow("plain") << 0 << int(QMessageBox::NoIcon) << QList<int>{ok} << ok << ok << platform::vbOK;
        QTest::newRow("question yes") << 292 << int(QMessageBox::Question) << QList<int>{yes, no} << no << yes
                                      << platform::vbYes;
        QTest::newRow("question no") << 292 << int(QMessageBox::Question) << QList<int>{yes, no} << no << no
                                     << platform::vbNo;
        QTest::newRow("question closed") << 292 << int(QMessageBox::Question) << QList<int>{yes, no} << no << 0
                                         << platform::vbNo;
    }

    void messageBoxShowsTheIconAndButtonsOfItsFlags()
    {
        QFETCH(int, flags);
        QFETCH(int, icon);
        QFETCH(QList<int>, buttons);
        QFETCH(int, defaultButton);
        QFETCH(int, pressed);
        QFETCH(int, answer);

        struct Seen
        {
            QString text, title;
            int icon = -1;
            QList<int> buttons;
            int defaultButton = -1;
        } seen;
        whenMessageBoxShows([&](QMessageBox* box) -> QAbstractButton* {
            seen.text = box->text();
            seen.title = box->windowTitle();
            seen.icon = int(box->icon());
            for (QAbstractButton* button : box->buttons()) {
                seen.buttons << int(box->standardButton(button));
            }
            seen.defaultButton = int(box->standardButton(box->defaultButton()));
            return pressed != 0 ? box->button(QMessageBox::StandardButton(pressed)) : nullptr; // nullptr: closed
        });
        platform::DesktopSeam seam;
        QCOMPARE(seam.messageBox(QStringLiteral("Some text"), flags, QStringLiteral("Some title")), answer);

        QCOMPARE(seen.text, QStringLiteral("Some text"));
        QCOMPARE(seen.title, QStringLiteral("Some title"));
        QCOMPARE(seen.icon, icon);
        std::sort(seen.buttons.begin(), seen.buttons.end());
        std::sort(buttons.begin(), buttons.end());
        QCOMPARE(seen.buttons, buttons);
        QCOMPARE(seen.defaultButton, defaultButton);
    }

    void busyCursorIsAStateSoTheOverrideStackStaysBalanced()
    {
        platform::DesktopSeam seam;
        seam.setBusyCursor(true);
        seam.setBusyCursor(true);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        // Waiting for the person: the normal pointer over a message box or a dialog, above a
        // splash window the box belongs to; busy again afterwards.
        QWidget splash(nullptr, Qt::SplashScreen);
        splash.show();
        Qt::CursorShape overBox = Qt::WaitCursor, overDialog = Qt::WaitCursor;
        QWidget* owner = nullptr;
        whenMessageBoxShows([&](QMessageBox* box) -> QAbstractButton* {
            overBox = QApplication::overrideCursor()->shape();
            owner = box->parentWidget();
            return nullptr;
        });
        seam.messageBox(QStringLiteral("Wrong"), 64, QStringLiteral("Corvanta Error"));
        QDialog dialog;
        QTimer::singleShot(0, &dialog, [&] {
            overDialog = QApplication::overrideCursor()->shape();
            dialog.accept();
        });
        seam.showModal(&dialog);
        QVERIFY(overBox == Qt::ArrowCursor && overDialog == Qt::ArrowCursor);
        QCOMPARE(owner, &splash);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        seam.setBusyCursor(false);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        seam.setBusyCursor(false);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void passwordBoxEchoesAsterisks()
    {
        QLineEdit edit;
        platform::usePasswordCharacter(&edit);
        QTest::keyClicks(&edit, QStringLiteral("Ab c"));
        QCOMPARE(edit.text(), QStringLiteral("Ab c"));
        QCOMPARE(edit.displayText(), QStringLiteral("****"));
        QVERIFY(!edit.testAttribute(Qt::WA_InputMethodEnabled));
    }
};

QTEST_MAIN(tst_DesktopSeam)
#include "tst_DesktopSeam.moc"
