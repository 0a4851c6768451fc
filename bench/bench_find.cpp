// One keystroke in the Find window, with 1,000 to 100,000 web accounts (and a tenth as many cards
// and programs): the search of every record's names, logins, addresses and notes and the list's
// update until it is painted, for a person typing a login letter by letter, deleting a letter,
// and pasting texts that match everything, nothing, or wildcard characters taken literally.
// Also the reading of the records when the window opens. Offscreen; figures, not a test.
//   corvanta-bench-find [records...]

#include "BenchData.h"
#include "Dao.h"
#include "RecordList.h"
#include "frm_Find.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double typeKey(QLineEdit* box, int key, const QString& text)
{
    QElapsedTimer timer;
    timer.start();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(box, &release);
    // The list laid out and painted.
    QApplication::processEvents();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double setText(QLineEdit* box, const QString& text)
{
    QElapsedTimer timer;
    timer.start();
    box->setText(text);
    QApplication::processEvents();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!dao::initializeCrypto()) {
        return 1;
    }
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        sizes.push_back(QString::fromLocal8Bit(argv[i]).toInt());
    }
    if (sizes.empty()) {
        sizes = {1000, 10000, 100000};
    }
    std::printf("%9s %9s %9s %10s %10s %10s %10s %10s %9s %10s\n", "records", "shown ms", "read ms", "type max",
                "type median", "all ms", "none ms", "literal ms", "found", "scan ms");
    for (const int n : sizes) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bench.cvd"));
        if (benchdata::makeFile(path, n, QString(), true) || benchdata::addCardsAndPrograms(path, n / 10)) {
            std::fprintf(stderr, "could not make the data file\n");
            return 1;
        }
        dao::DatabasePtr db;
        if (dao::DBEngine::OpenDatabase(path, false, false, QString(), db)) {
            return 1;
        }
        frm_Find window;
        QElapsedTimer timer;
        timer.start();
        if (window.load(*db)) {
            return 1;
        }
        window.show();
        QApplication::processEvents();
        const double open = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        // Many records arrive in steps after the window shows; the keystrokes below are timed
        // over all of them.
        while (window.reading()) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        const double read = static_cast<double>(timer.nsecsElapsed()) / 1e6;

        auto* box = window.findChild<QLineEdit*>(QStringLiteral("sle_FindText"));
        std::vector<double> typing;
        // A login letter by letter: the first letters match almost everything.
        for (const QChar c : QStringLiteral("user4711")) {
            typing.push_back(
                typeKey(box, c.isDigit() ? Qt::Key_0 + c.digitValue() : Qt::Key_A + (c.unicode() - 'a'), QString(c)));
        }
        const qsizetype found = window.list().rowCount();
        typing.push_back(typeKey(box, Qt::Key_Backspace, QString()));
        typing.push_back(typeKey(box, Qt::Key_Backspace, QString()));
        std::vector<double> sorted = typing;
        std::sort(sorted.begin(), sorted.end());
        const double all = setText(box, QStringLiteral("e"));
        const double none = setText(box, QStringLiteral("no such text anywhere"));
        const double literal = setText(box, QStringLiteral("50%_['x'"));
        // The search alone, without the list: every record read to its end.
        recordtools::SearchIndex index;
        (void)index.load(*db);
        timer.restart();
        const qsizetype nothing = index.search(QStringLiteral("no such text anywhere")).size();
        const double searchOnly = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        std::printf("%9d %9.1f %9.1f %10.2f %10.2f %10.2f %10.2f %10.2f %9lld %10.2f\n", n, open, read, sorted.back(),
                    sorted[sorted.size() / 2], all, none, literal, static_cast<long long>(found + nothing), searchOnly);
        std::fflush(stdout);
    }
    return 0;
}
