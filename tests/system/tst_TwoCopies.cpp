// Two copies of the program on one data file, as real processes: whatever they do side by
// side (two writers, a writer and a compaction, a writer killed in the middle of a save while
// another saves), the file always opens and holds every change that was reported saved.

#include "EngineFixture.h"
#include "Maintenance.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

using namespace dao;
using testsupport::row;

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

    // Beside a copy that saves 25 records: another that saves 25, five compactions, or a copy
    // killed while it saves large records, so that it is often inside a save.
    void everyReportedSaveIsKept_data()
    {
        QTest::addColumn<QString>("beside");
        row("another writer", "writer");
        row("compactions", "compact");
        row("a writer killed while saving", "killed");
    }
    void everyReportedSaveIsKept()
    {
        QFETCH(QString, beside);
        const QString file = fixture::createDataFile(m_dir.path(), "pw", beside + ".cvd");
        Writer writer(file, "w", 25, QString(beside == "compact" ? 2000 : 0, QChar('n')));
        std::set<QString> saved;
        pid_t killed = -1;
        if (beside == "writer") {
            Writer other(file, "o", 25);
            saved = other.finish();
            QCOMPARE(other.exitCode(), 0);
            QCOMPARE(saved.size(), size_t(25));
        } else if (beside == "compact") {
            for (int i = 0; i < 5; ++i) {
                const Error e = maintenance::compactDataFile(file, "pw");
                QVERIFY2(!e, qPrintable(e.description()));
            }
        } else {
            Writer doomed(file, "k", 0, QString(20000, QChar('d')));
            QTest::qWait(300);
            saved = doomed.finish(SIGKILL);
            killed = doomed.pid();
        }
        saved.merge(writer.finish());
        QCOMPARE(writer.exitCode(), 0);
        holdsEverySave(file, saved);
        // What a killed copy leaves behind is its own temporary file, never another's.
        for (const QString& left : QDir(m_dir.path()).entryList({beside + ".cvd.*.tmp"}, QDir::Files)) {
            QVERIFY2(left.startsWith(QString("killed.cvd.%1-").arg(killed)), qPrintable(left));
        }
    }
};

QTEST_GUILESS_MAIN(tst_TwoCopies)
#include "tst_TwoCopies.moc"
