// No password, card number or web password ever reaches the disk in plain text: not in the
// data file, not in the temporary file a save writes first, not in a compaction's companion,
// not in the settings, not anywhere in the program's folder.

#include "EngineFixture.h"
#include "FileOps.h"
#include "Maintenance.h"
#include "Statements.h"
#include "TestSupport.h"

#include <QDirIterator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace dao;

namespace {

// Keeps a copy of every byte the engine writes, whatever file it goes to.
class RecordingOps : public FileOps
{
public:
    QByteArray written;
    ssize_t write(int fd, const void* buffer, size_t count) override
    {
        const ssize_t n = FileOps::write(fd, buffer, count);
        if (n > 0) {
            written.append(static_cast<const char*>(buffer), n);
        }
        return n;
    }
};

bool holds(const QByteArray& bytes, const QString& text)
{
    const QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return bytes.contains(text.toUtf8()) || bytes.contains(utf16);
}

} // namespace

class tst_Secrets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { fixture::useCheapKdf(); }
    void cleanup() { setFileOps(nullptr); }

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

        RecordingOps ops;
        setFileOps(&ops);
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
        setFileOps(nullptr);

        // The data is really there, under the new password.
        DatabasePtr db = fixture::open(file, newPassword);
        QVERIFY(db);
        QCOMPARE(fixture::column(*db, "Select * From [Credit Cards]", "Account Number"), QStringList{card});
        db.reset();

        QVERIFY(ops.written.size() > 0);
        int files = 0;
        for (const QString& secret : secrets) {
            QVERIFY2(!holds(ops.written, secret), qPrintable("written in plain text: " + secret));
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
};

QTEST_GUILESS_MAIN(tst_Secrets)
#include "tst_Secrets.moc"
