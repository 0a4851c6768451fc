// Two copies of the program on one data file, as real processes: whatever they do side by
// side (two writers, a writer and a compaction, a writer killed in the middle of a save while
// another saves), the file always opens and holds every change that was reported saved.

#include "EngineFixture.h"
#include "Maintenance.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

using namespace dao;

namespace {

// A copy that adds records named prefix + i, for i from 0 to count - 1 (endless with count 0),
// and reports each one saved on a pipe. A save refused because the other copy changed the file
// has left this copy with what is on disk; it saves again, as a person would.
class Writer
{
public:
    Writer(const QString& file, const QString& prefix, int count, const QString& notes = QString())
    {
        int out[2];
        if (::pipe(out) != 0) {
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(out[0]);
            DatabasePtr db = fixture::open(file, "pw");
            for (int i = 0; db && (count == 0 || i < count); ++i) {
                const QString name = prefix + QString::number(i);
                Error e = add(*db, name, notes);
                for (int retry = 0; e.number() == err::FileInUse && retry < 100; ++retry) {
                    e = add(*db, name, notes);
                }
                if (e) {
                    ::_exit(e.number() % 256);
                }
                const QByteArray line = name.toUtf8() + '\n';
                (void)!::write(out[1], line.constData(), line.size());
            }
            ::_exit(db ? 0 : 1);
        }
        ::close(out[1]);
        m_out = out[0];
        m_child = m_pid;
    }
    ~Writer() { (void)finish(SIGKILL); }

    // Waits for the copy (killing it first with a signal other than 0); the names it reported saved.
    std::set<QString> finish(int signal = 0)
    {
        if (m_pid > 0) {
            if (signal) {
                ::kill(m_pid, signal);
            }
            int status = 0;
            ::waitpid(m_pid, &status, 0);
            m_exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            m_pid = -1;
            QByteArray text;
            char buffer[4096];
            for (ssize_t n; (n = ::read(m_out, buffer, sizeof buffer)) > 0;) {
                text.append(buffer, n);
            }
            ::close(m_out);
            for (const QByteArray& line : text.split('\n')) {
                if (!line.isEmpty()) {
                    m_saved.insert(QString::fromUtf8(line));
                }
            }
        }
        return m_saved;
    }
    int exitCode() const { return m_exit; }
    pid_t pid() const { return m_child; }

private:
    static Error add(Database& db, const QString& name, const QString& notes)
    {
        RecordsetPtr rs;
        Error e = db.OpenRecordset("Select * From [Web Accounts]", rs, dbOpenDynaset);
        for (Error step : {e, rs ? rs->AddNew() : e, rs ? rs->SetField("Web Site", name) : e,
                           rs ? rs->SetField("Notes", notes) : e}) {
            if (step) {
                return step;
            }
        }
        return rs->Update();
    }

    pid_t m_pid = -1;
    pid_t m_child = -1;
    int m_out = -1;
    int m_exit = -1;
    std::set<QString> m_saved;
};

} // namespace

class tst_TwoCopies : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // The file opens and holds every name in saved.
    void holdsEverySave(const QString& file, const std::set<QString>& saved)
    {
        DatabasePtr db = fixture::open(file, "pw");
        QVERIFY(db);
        const QStringList names = fixture::column(*db, "Select * From [Web Accounts]", "Web Site");
        for (const QString& name : saved) {
            QVERIFY2(names.contains(name), qPrintable(name + " was reported saved but is not in the file"));
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        fixture::useCheapKdf();
    }

    void twoWritersKeepEachOthersSaves()
    {
        const QString file = fixture::createDataFile(m_dir.path(), "pw", "writers.cvd");
        Writer a(file, "a", 25);
        Writer b(file, "b", 25);
        std::set<QString> saved = a.finish();
        saved.merge(b.finish());
        QCOMPARE(a.exitCode(), 0);
        QCOMPARE(b.exitCode(), 0);
        QCOMPARE(saved.size(), size_t(50));
        holdsEverySave(file, saved);
    }

    void aCompactionLosesNoSaveOfAnotherCopy()
    {
        const QString file = fixture::createDataFile(m_dir.path(), "pw", "compacted.cvd");
        Writer writer(file, "w", 25, QString(2000, QChar('n')));
        int compactions = 0;
        for (int i = 0; i < 5; ++i) {
            const Error e = maintenance::compactDataFile(file, "pw");
            QVERIFY2(!e, qPrintable(e.description()));
            ++compactions;
        }
        const std::set<QString> saved = writer.finish();
        QCOMPARE(writer.exitCode(), 0);
        QCOMPARE(compactions, 5);
        holdsEverySave(file, saved);
        QCOMPARE(QDir(m_dir.path()).entryList({"compacted.cvd?*"}, QDir::Files),
                 (QStringList{"compacted.cvd.bak", "compacted.cvd.lock"}));
    }

    void aCopyKilledWhileSavingCostsTheOtherNothing()
    {
        const QString file = fixture::createDataFile(m_dir.path(), "pw", "killed.cvd");
        // Large records, so that the killed copy is often inside a save.
        Writer doomed(file, "k", 0, QString(20000, QChar('d')));
        Writer survivor(file, "s", 25);
        QTest::qWait(300);
        std::set<QString> saved = doomed.finish(SIGKILL);
        saved.merge(survivor.finish());
        QCOMPARE(survivor.exitCode(), 0);
        holdsEverySave(file, saved);
        // What the killed copy left behind is its own temporary file, never the survivor's.
        for (const QString& left : QDir(m_dir.path()).entryList({"killed.cvd.*.tmp"}, QDir::Files)) {
            QVERIFY2(left.startsWith(QString("killed.cvd.%1-").arg(doomed.pid())), qPrintable(left));
        }
    }
};

QTEST_GUILESS_MAIN(tst_TwoCopies)
#include "tst_TwoCopies.moc"
