#include "AboutTexts.h"
#include "FitLabels.h"
#include "General.h"
#include "Platform.h"
#include "ScriptedSeam.h"
#include "SystemInfo.h"
#include "frm_About.h"
#include "frm_Splash.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>

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

    void showsTheProgramsTexts()
    {
        frm_About about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Corvanta"));
        QCOMPARE(label(about, "lbl_Title"), QStringLiteral("Corvanta"));
        QCOMPARE(label(about, "lbl_Version"), QStringLiteral("Version 9.8"));
        QVERIFY(label(about, "lbl_Disclaimer").startsWith(" Warning: "));
        QCOMPARE(label(about, "lbl_Comments"), QStringLiteral("Comments and bug reports are welcome!"));
        QVERIFY(label(about, "lbl_Description").startsWith("This program is to allow a user"));
        QCOMPARE(about.findChild<QPushButton*>(QStringLiteral("cb_SysInfo"))->text(),
                 QStringLiteral("&System Info..."));
        QVERIFY(!about.windowIcon().isNull());
    }

    void linksPointAtTheWebSiteAndASubjectedMail()
    {
        frm_About about;
        QVERIFY(label(about, "hl_WebSite").contains(about::WebSiteUrl().toString()));

        const QUrl mail = about::EMailUrl();
        QCOMPARE(mail.scheme(), QStringLiteral("mailto"));
        QCOMPARE(QUrlQuery(mail).queryItemValue(QStringLiteral("subject")), QStringLiteral("Corvanta Comment"));
        QVERIFY(label(about, "hl_EMailAddress").contains(mail.toString(QUrl::FullyEncoded)));
    }

    void enterAndEscapeBothClose_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("enter") << int(Qt::Key_Return) << int(QDialog::Accepted);
        QTest::newRow("escape") << int(Qt::Key_Escape) << int(QDialog::Rejected);
    }
    void enterAndEscapeBothClose()
    {
        QFETCH(int, key);
        QFETCH(int, result);
        testsupport::ScriptedSeam seam;
        frm_About about;
        seam.queueScript([&](QDialog* d) { QTest::keyClick(d, Qt::Key(key)); });
        QCOMPARE(platform::ShowModal(&about), result);
        QCOMPARE(seam.leftOpen, 0);
    }

    void noLabelCutsOffItsText_data()
    {
        QTest::addColumn<bool>("splash");
        QTest::addColumn<int>("points");
        for (const int points : {8, 12, 16}) {
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
        QCOMPARE(seam.messages[0].flags, platform::vbInformation);
    }

    void systemInfoStartsTheConfiguredProgram()
    {
        const QString marker = m_dir->filePath(QStringLiteral("ran"));
        const QString program = m_dir->filePath(QStringLiteral("sysinfo"));
        QFile file(program);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(marker).toUtf8());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        {
            QSettings config(platform::systemInfoConfigFile(), QSettings::IniFormat);
            config.setValue(QStringLiteral("SystemInfo/Path"), program);
        }

        testsupport::ScriptedSeam seam;
        frm_About about;
        about.cb_SysInfo_Click();
        QVERIFY(seam.messages.isEmpty());
        QTRY_VERIFY(QFile::exists(marker));
    }

private:
    static QString label(const QWidget& window, const char* name)
    {
        const auto* found = window.findChild<QLabel*>(QString::fromLatin1(name));
        return found != nullptr ? found->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(tst_About)
#include "tst_About.moc"
