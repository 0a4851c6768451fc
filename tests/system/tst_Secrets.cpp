// No password, card number or web password ever reaches the disk in plain text: not in the
// data file, not in the temporary file a save writes first, not in a compaction's companion,
// not in the settings, not anywhere in the program's folder, and not in the database's own
// temporary files, which a large compaction would otherwise spill to the temporary folder.

#include "EngineFixture.h"
#include "Maintenance.h"
#include "Statements.h"
#include "TestSupport.h"

#include <QDirIterator>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sodium.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>
#include <memory>

using namespace dao;

class tst_Secrets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { fixture::useCheapKdf(); }

    void secretsNeverReachTheDiskInPlainText()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
        QStandardPaths::setTestModeEnabled(true);
        const QString folder = home.filePath("program");
        QVERIFY(QDir().mkpath(folder));

        const QString password = QStringLiteral("Tr0ub4dor&3 ü");
        const QString newPassword = QStringLiteral("Zebra 7 Quartz");
        const QString card = QStringLiteral("4929123456789012");
        const QString webPassword = QStringLiteral("correct horse ✓ battery");
        const QString pin = QStringLiteral("918273");
        const QStringList secrets{password, newPassword, card, webPassword, pin};

        auto ops = std::make_unique<fixture::FailAt>(); // fails nothing, keeps every byte written
        const QString file = fixture::createDataFile(folder, password);
        QVERIFY(!file.isEmpty());
        {
            DatabasePtr db = fixture::open(file, password);
            QVERIFY(db);
            QVERIFY(fixture::addRecord(*db, "[Credit Cards]", {{"Credit Card", "Gold"}, {"Account Number", card}}) > 0);
            QVERIFY(!DBEngine::BeginTrans());
            QVERIFY(fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "Shop"}, {"Password", webPassword}}) > 0);
            QVERIFY(fixture::addRecord(*db, "[Travel Programs]", {{"Travel Program", "Sky"}, {"PIN Number", pin}}) > 0);
            QVERIFY(!DBEngine::CommitTrans());
        }
        QVERIFY(!maintenance::compactDataFile(file, password));
        QVERIFY(!maintenance::changePassword(file, password, newPassword));
        // A settings store written beside, as the program keeps its window places.
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Corvanta", "Corvanta");
        settings.setValue("Settings/Top", 100);
        settings.sync();
        const QByteArray written = ops->written;
        ops.reset();

        // The data is really there, under the new password.
        DatabasePtr db = fixture::open(file, newPassword);
        QVERIFY(db);
        QCOMPARE(fixture::column(*db, "Select * From [Credit Cards]", "Account Number"), QStringList{card});
        db.reset();

        QVERIFY(written.size() > 0);
        int files = 0;
        for (const QString& secret : secrets) {
            QVERIFY2(!testsupport::containsText(written, secret), qPrintable("written in plain text: " + secret));
        }
        QDirIterator it(home.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            ++files;
            for (const QString& secret : secrets) {
                QVERIFY2(!testsupport::fileContainsText(path, secret), qPrintable(path + " holds " + secret));
            }
        }
        QVERIFY(files >= 2); // the data file and the settings at least
    }

    // The database engine writes its temporary files itself, past the engine's file layer, so
    // the compaction runs in a child whose every write is searched (a preloaded library) and
    // whose temporary folder is watched for any file made there, even one unlinked at once.
    void compactingALargeFileWritesNoPlainPageAnywhere()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QString watched = home.filePath("tmp");
        QVERIFY(QDir().mkpath(watched));
        unsigned char token[8];
        randombytes_buf(token, sizeof token);
        const QString marker = "zq7" + QByteArray(reinterpret_cast<const char*>(token), sizeof token).toHex();
        const QString file = fixture::createDataFile(home.path(), "pw");
        {
            DatabasePtr db = fixture::open(file, "pw");
            QVERIFY(db);
            // More than 4 MB of records, each with the marker in its web password.
            QVERIFY(!db->Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 12000) "
                                 "INSERT INTO [Web Accounts] ([Web Site], [Password], [Notes]) "
                                 "SELECT 'site ' || i, '" +
                                 marker + "' || i, hex(randomblob(160)) FROM n"));
        }
        QVERIFY(QFileInfo(file).size() > 4 * 1024 * 1024);

        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0);
        QVERIFY(inotify_add_watch(watch, QFile::encodeName(watched).constData(), IN_CREATE | IN_MODIFY) >= 0);
        const QString log = home.filePath("writes.log");
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TMPDIR", watched);
        env.insert("SQLITE_TMPDIR", watched);
        env.insert("LD_PRELOAD", WRITE_WATCH_LIBRARY);
        env.insert("WRITE_WATCH_MARKER", marker);
        env.insert("WRITE_WATCH_LOG", log);
        // A sanitizer build would refuse a library loaded before its own.
        env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {"--compact", file, "pw"});
        QVERIFY(child.waitForFinished(120000));
        QVERIFY2(child.exitCode() == 0, child.readAllStandardError().constData());

        QFile report(log);
        QVERIFY(report.open(QIODevice::ReadOnly));
        const QStringList counts = QString::fromLatin1(report.readAll()).split(' ');
        QCOMPARE(counts.size(), 4);
        // The sealed copy went through the watch, so the watch saw what the child wrote.
        QVERIFY2(counts[1].toLongLong() >= QFileInfo(file).size(), qPrintable(counts.join(' ')));
        QCOMPARE(counts[3].trimmed(), QString("0"));
        char events[4096];
        const ssize_t made = ::read(watch, events, sizeof events);
        ::close(watch);
        QVERIFY2(made <= 0, "a file was made in the temporary folder");
        DatabasePtr db = fixture::open(file, "pw");
        QVERIFY(db);
        QCOMPARE(fixture::column(*db, "Select * From [Web Accounts] Where [Web Site ID] = 12000", "Password"),
                 QStringList{marker + "12000"});
    }
};

// Run with "--compact FILE PASSWORD" it is the child of the test above.
int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--compact") == 0) {
        QCoreApplication app(argc, argv);
        const Error e = maintenance::compactDataFile(QString::fromLocal8Bit(argv[2]), QString::fromUtf8(argv[3]));
        if (e) {
            std::fprintf(stderr, "%s [%d]\n", qPrintable(e.description()), e.number());
        }
        return e ? 1 : 0;
    }
    QCoreApplication app(argc, argv);
    tst_Secrets test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_Secrets.moc"
