// The one set of pictures: every picture is there, drawn at the screen's pixels, and no card's
// name runs over the card's edge with the fonts of this machine.

#include "Pictures.h"

#include <QGuiApplication>
#include <QTest>

class tst_Pictures : public QObject
{
    Q_OBJECT

private slots:
    void picturesAreDrawnAtTheScreensPixels_data()
    {
        QTest::addColumn<QIcon>("icon");
        QTest::newRow("program") << pictures::ProgramIcon();
        for (int number = 1; number <= 8; ++number) {
            QTest::addRow("toolbar %d", number) << pictures::ToolbarPicture(number);
        }
        for (int type = 1; type <= 4; ++type) {
            QTest::addRow("card %d", type) << pictures::CardPicture(type);
        }
    }
    void picturesAreDrawnAtTheScreensPixels()
    {
        QFETCH(QIcon, icon);
        // At twice the scale a 16-pixel picture is drawn with 32 pixels, not enlarged from 16.
        const QPixmap pixmap = icon.pixmap(QSize(16, 16), 2.0);
        QCOMPARE(pixmap.deviceIndependentSize().width(), 16.0);
        QCOMPARE(pixmap.width(), 32);
    }

    void textStaysInsideItsPicture_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("text");
        for (int type = 1; type <= 4; ++type) {
            QTest::addRow("%s", qPrintable(pictures::CardTypeName(type))) << pictures::CardResource(type) << "name";
        }
        QTest::newRow("logo title") << ":/pictures/logo.svg"
                                    << "title";
        QTest::newRow("logo tagline") << ":/pictures/logo.svg"
                                      << "tagline";
    }
    void textStaysInsideItsPicture()
    {
        QFETCH(QString, picture);
        QFETCH(QString, text);
        const QRectF bounds = pictures::ElementBounds(picture, text);
        QVERIFY2(pictures::DrawingBounds(picture).adjusted(2, 2, -2, -2).contains(bounds), qPrintable(text));
    }
};

QTEST_MAIN(tst_Pictures)
#include "tst_Pictures.moc"
