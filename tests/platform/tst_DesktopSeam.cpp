#include "DesktopSeam.h"
#include "Platform.h"
#include "TestSupport.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

using testsupport::row;

namespace {

using Buttons = QList<int>;
constexpr int Ok = QMessageBox::Ok, Yes = QMessageBox::Yes, No = QMessageBox::No, Closed = 0;

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
        row("question yes", 292, int(QMessageBox::Question), Buttons{Yes, No}, No, Yes, platform::vbYes);
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
};

QTEST_MAIN(tst_DesktopSeam)
#include "tst_DesktopSeam.moc"
