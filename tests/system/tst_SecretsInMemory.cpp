// A locked program holds no readable secret: a child logs in, runs the program's main window over
// a data file, shows every record and locks; its memory (every readable mapping, through /proc)
// must then hold neither the password nor a web password, in UTF-8 or UTF-16. Logged in, and
// unlocked again, the password is found in guarded memory only (locked, never dumped), and the
// web password where the records are, which shows that the search finds what is there.

#include "EngineFixture.h"
#include "TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

using testsupport::row;

namespace {

const QString kPassword = QStringLiteral("Qx7 lock-pass \u00e9 93");
const QString kWebPassword = QStringLiteral("Wb9#Zz secret-41");

QByteArray utf16(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

// Which of the texts the process's readable memory holds, as "<text> (<encoding>)", and " guarded"
// where the memory is kept out of core dumps: sodium's guarded memory, as nothing else asks that.
QStringList foundInMemory(qint64 pid, const QStringList& texts)
{
    QStringList found;
    QFile maps(QStringLiteral("/proc/%1/smaps").arg(pid));
    if (!maps.open(QIODevice::ReadOnly)) {
        return {QStringLiteral("(maps unreadable)")};
    }
    const int mem = ::open(qPrintable(QStringLiteral("/proc/%1/mem").arg(pid)), O_RDONLY);
    if (mem < 0) {
        return {QStringLiteral("(mem unreadable)")};
    }
    QList<QPair<QByteArray, QString>> needles;
    for (const QString& text : texts) {
        needles.append({text.toUtf8(), text + QStringLiteral(" (UTF-8)")});
        needles.append({utf16(text), text + QStringLiteral(" (UTF-16)")});
    }
    // Each mapping's first line, and whether its flags (its last line) say "dd", not dumped.
    QList<QPair<QByteArray, bool>> mappings;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        if (line.startsWith("VmFlags:") && !mappings.isEmpty()) {
            mappings.last().second = line.split(' ').contains("dd");
        } else if (line.split(' ').value(0).contains('-')) {
            mappings.append({line, false});
        }
    }
    for (const auto& [line, guarded] : mappings) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (parts.size() < 2 || !parts[1].startsWith('r') || line.contains("[vvar]") || line.contains("[vsyscall]")) {
            continue;
        }
        const QList<QByteArray> range = parts[0].split('-');
        const quint64 start = range.value(0).toULongLong(nullptr, 16);
        const quint64 end = range.value(1).toULongLong(nullptr, 16);
        // A sanitizer's shadow reserves terabytes that hold no data of the program.
        if (end - start > (quint64(1) << 32)) {
            continue;
        }
        // In pieces that overlap by a needle's length, so that a text across two is found too.
        constexpr quint64 piece = 4 << 20;
        constexpr quint64 overlap = 1024;
        for (quint64 at = start; at < end; at += piece) {
            const quint64 length = std::min(piece + overlap, end - at);
            QByteArray bytes(static_cast<qsizetype>(length), '\0');
            const ssize_t n = ::pread(mem, bytes.data(), static_cast<size_t>(length), static_cast<off_t>(at));
            if (n <= 0) {
                break;
            }
            bytes.truncate(n);
            for (const auto& [needle, name] : needles) {
                const QString where = guarded ? name + QStringLiteral(" guarded") : name;
                if (!found.contains(where) && bytes.contains(needle)) {
                    found << where;
                }
            }
        }
    }
    ::close(mem);
    return found;
}

} // namespace

// The sanitizer keeps freed blocks in its own quarantine and the program's wiping of freed memory
// is off there: only the ordinary build proves that no copy is left outside guarded memory.
#ifdef __SANITIZE_ADDRESS__
constexpr bool kFreedIsWiped = false;
#else
constexpr bool kFreedIsWiped = true;
#endif

class tst_SecretsInMemory : public QObject
{
    Q_OBJECT

private slots:
    void passwordOnlyInGuardedMemoryAndNothingWhenLocked_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("found");
        row("logged in", "open", true);
        row("locked: nothing to find", "lock", false);
        row("unlocked again", "unlock", true);
    }
    void passwordOnlyInGuardedMemoryAndNothingWhenLocked()
    {
        QFETCH(QString, mode);
        QFETCH(bool, found);
        fixture::useCheapKdf();
        QTemporaryDir dir;
        const QString file = fixture::createDataFile(dir.path(), kPassword);
        {
            dao::DatabasePtr db = fixture::open(file, kPassword);
            QVERIFY(db);
            QVERIFY(fixture::addRecord(*db, "[Personal Information]", {{"Name", "Ann"}}) > 0);
            QVERIFY(fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "Shop"}, {"Password", kWebPassword}}) > 0);
            QVERIFY(fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "Bank"}, {"Password", "other"}}) > 0);
            QVERIFY(fixture::addRecord(*db, "[Credit Cards]", {{"Credit Card", "Gold"}}) > 0);
        }

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CORVANTA_TEST_READABLE"), QStringLiteral("1"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QStringLiteral(SECRETS_CHILD), {file, dir.path(), mode});
        QVERIFY(child.waitForStarted());
        child.write(kPassword.toUtf8() + '\n');
        QVERIFY(child.waitForReadyRead(60000));
        QCOMPARE(child.readLine().trimmed(), QByteArray("ready"));

        const QStringList inMemory = foundInMemory(child.processId(), {kPassword, kWebPassword});
        child.closeWriteChannel();
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);
        if (found) {
            const QString password = kPassword + QStringLiteral(" (UTF-8) guarded");
            const QString web = kWebPassword + QStringLiteral(" (UTF-8)");
            QVERIFY2(inMemory.contains(password) && inMemory.contains(web), qPrintable(inMemory.join(", ")));
            for (const QString& place : inMemory) {
                QVERIFY2(!kFreedIsWiped || !place.startsWith(kPassword) || place == password, qPrintable(place));
            }
        } else {
            if (!kFreedIsWiped) {
                QSKIP("freed memory is the sanitizer's, not wiped");
            }
            QVERIFY2(inMemory.isEmpty(), qPrintable(inMemory.join(QStringLiteral(", "))));
        }
    }
};

QTEST_GUILESS_MAIN(tst_SecretsInMemory)
#include "tst_SecretsInMemory.moc"
