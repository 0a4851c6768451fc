#include "FitLabels.h"
#include "General.h"
#include "Platform.h"
#include "ScriptedSeam.h"
#include "SystemInfo.h"
#include "frm_About.h"
#include "frm_Splash.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class tst_About : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { gstr_Version = QStringLiteral("Version 9.8"); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        platform::setSystemInfoConfigFile(m_dir->filePath(QStringLiteral("SystemInfo.conf")));
        platform::setSystemInfoProgramNames({});
    }
    void cleanup()
    {
        platform::setSystemInfoConfigFile(QString());
        platform::resetSystemInfoProgramNames();
    }

    void noLabelCutsOffItsText_data()
    {
        QTest::addColumn<bool>("splash");
        QTest::addColumn<int>("points");
        for (const int points : {8, 16}) {
            QTest::addRow("About box, %d pt", points) << false << points;
            QTest::addRow("splash, %d pt", points) << true << points;
        }
    }
    void noLabelCutsOffItsText()
    {
        QFETCH(bool, splash);
        QFETCH(int, points);
        testsupport::ScriptedSeam seam;
        std::unique_ptr<QWidget> window =
            splash ? std::unique_ptr<QWidget>(new frm_Splash) : std::make_unique<frm_About>();
        window->setFont(QFont(window->font().family(), points));
        about::FitLabels(window.get());
        for (const QLabel* label : window->findChildren<QLabel*>()) { // pictures too
            const QSize needed = label->wordWrap()
                                     ? QSize(label->minimumSizeHint().width(), label->heightForWidth(label->width()))
                                     : label->sizeHint();
            QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
                     qPrintable(label->objectName()));
            QVERIFY2(window->rect().contains(QRect(label->mapTo(window.get(), QPoint(0, 0)), label->size())),
                     qPrintable(label->objectName()));
        }
    }

    void systemInfoUnavailableSaysSoAndStaysOpen()
    {
        testsupport::ScriptedSeam seam;
        frm_About about;
        bool open = false;
        seam.queueScript([&](QDialog* d) {
            QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cb_SysInfo")), Qt::LeftButton);
            open = d->isVisible();
        });
        platform::ShowModal(&about);
        QVERIFY(open);
        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages[0].text, QStringLiteral("System Information is unavailable at this time."));
        QCOMPARE(seam.messages[0].title, QStringLiteral("Corvanta Error"));
        QCOMPARE(seam.messages[0].flags, 64);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(tst_About)
#include "tst_About.moc"
