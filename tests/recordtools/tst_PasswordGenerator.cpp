// The generator's draws: lengths held to their bounds, every chosen class and no other, no
// character likelier than chance allows. Alt+G in the web account dialog, with the choices read
// from the settings, is driven in the real-window test.

#include "PasswordGenerator.h"

#include <QHash>
#include <QTest>

#include <cmath>

class tst_PasswordGenerator : public QObject
{
    Q_OBJECT

private slots:
    void draws_data()
    {
        QTest::addColumn<QString>("classes");
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("length");
        QTest::newRow("all four, the default length") << "ulds" << 20 << 20;
        QTest::newRow("below the least") << "ulds" << 3 << 8;
        QTest::newRow("above the most") << "ulds" << 500 << 128;
        QTest::newRow("digits only") << "d" << 12 << 12;
        QTest::newRow("letters and symbols") << "uls" << 16 << 16;
    }
    void draws()
    {
        QFETCH(QString, classes);
        QFETCH(int, asked);
        QFETCH(int, length);
        const QString alphabet = generator::alphabet(classes);
        QHash<QChar, int> counts;
        constexpr int kDraws = 3000;
        for (int i = 0; i < kDraws; ++i) {
            const QString password = generator::generate(asked, classes);
            QCOMPARE(password.size(), length);
            for (const QChar c : password) {
                QVERIFY2(alphabet.contains(c), qPrintable(password));
                ++counts[c];
            }
        }
        // Every character of every chosen class turns up, none more often than chance allows: a
        // chi-square test at a one-in-a-million false alarm (Wilson-Hilferty bound).
        QCOMPARE(counts.size(), alphabet.size());
        const double expected = double(kDraws) * length / alphabet.size();
        double chiSquare = 0;
        for (const int count : std::as_const(counts)) {
            chiSquare += (count - expected) * (count - expected) / expected;
        }
        const double df = alphabet.size() - 1;
        const double bound = df * std::pow(1 - 2 / (9 * df) + 4.75 * std::sqrt(2 / (9 * df)), 3);
        QVERIFY2(chiSquare < bound, qPrintable(QString("chi-square %1, bound %2").arg(chiSquare).arg(bound)));
    }
};

QTEST_GUILESS_MAIN(tst_PasswordGenerator)
#include "tst_PasswordGenerator.moc"
