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

using Buttons = QList<int>;
constexpr int Ok = QMessageBox::Ok, Yes = QMessageBox::Yes, No = QMessageBox::No, Closed = 0;

// One data row per line.
template <typename... T> void row(const char* name, const T&... values)
{
    (QTest::newRow(name) << ... << values);
}

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
        QTest::addColumn<Buttons>("buttons");
        QTest::addColumn<int>("defaultButton");
        QTest::addColumn<int>("pressed");
        QTest::addColumn<int>("answer");
        row("stop", 16, int(QMessageBox::Critical), Buttons{Ok}, Ok, Ok, platform::vbOK);
        row("information", 64, int(QMessageBox::Information), Buttons{Ok}, Ok, Ok, platform::vbOK);
        row("plain", 0, int(QMessageBox::NoIcon), Buttons{Ok}, Ok, Ok, platform::vbOK);
        row("question yes", 292, int(QMessageBox::Question), Buttons{Yes, No}, No, Yes, platform::vbYes);
        row("question no", 292, int(QMessageBox::Question), Buttons{Yes, No}, No, No, platform::vbNo);
        row("question closed", 292, int(QMessageBox::Question), Buttons{Yes, No}, No, Closed, platform::vbNo);
    }
    void messageBoxShowsTheIconAndButtonsOfItsFlags()
    {
        QFETCH(int, flags);
        QFETCH(int, icon);
        QFETCH(Buttons, buttons);
        QFETCH(int, defaultButton);
        QFETCH(int, pressed);
        QFETCH(int, answer);
        QString texts;
        int seenIcon = -1, seenDefault = -1;
        Buttons seenButtons;
        whenMessageBoxShows([&](QMessageBox* box) -> QAbstractButton* {
            texts = box->text() + '|' + box->windowTitle();
            seenIcon = int(box->icon());
            seenDefault = int(box->standardButton(box->defaultButton()));
            for (QAbstractButton* button : box->buttons()) {
                seenButtons << int(box->standardButton(button));
            }
            return pressed != Closed ? box->button(QMessageBox::StandardButton(pressed)) : nullptr;
        });
        platform::DesktopSeam seam;
        QCOMPARE(seam.messageBox(QStringLiteral("Some text"), flags, QStringLiteral("Some title")), answer);
        QCOMPARE(texts, QStringLiteral("Some text|Some title"));
        QCOMPARE(seenIcon, icon);
        std::sort(seenButtons.begin(), seenButtons.end());
        QCOMPARE(seenButtons, buttons);
        QCOMPARE(seenDefault, defaultButton);
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
