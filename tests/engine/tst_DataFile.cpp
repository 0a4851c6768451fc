// The data file: opening, passwords, damage, compaction and what it keeps secret.

#include "EngineFixture.h"
#include "FileFormat.h"
#include "Maintenance.h"
#include "Statements.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sodium.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

using testsupport::row;

using namespace dao;

class tst_DataFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }
    static int modeOf(const QString& file)
    {
        struct stat st;
        return ::stat(QFile::encodeName(file).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        fixture::useCheapKdf();
    }

    void passwords_data()
    {
        QTest::addColumn<QString>("filePassword");
        QTest::addColumn<QString>("connect");
        QTest::addColumn<int>("expected");
        row("no password, first connect", "", "MS Access;PWD=''", 0);
        row("no password, any password", "", "MS Access;PWD=whatever", 0);
        row("exact", "Secret pw", "MS Access;PWD=Secret pw", 0);
        row("compaction form", "Secret pw", ";PWD=Secret pw", 0);
        row("first connect", "Secret pw", "MS Access;PWD=''", 3031);
        row("case differs", "Secret pw", "MS Access;PWD=secret pw", 3031);
        row("trailing blank", "Secret pw", "MS Access;PWD=Secret pw ", 3031);
        row("leading blank", "Secret pw", "MS Access;PWD= Secret pw", 3031);
        row("quotes are no escape", "''", "MS Access;PWD=''", 3031);
    }
    void passwords()
    {
        QFETCH(QString, filePassword);
        QFETCH(QString, connect);
        QFETCH(int, expected);
        const QString file = fixture::createDataFile(m_dir.path(), filePassword,
                                                     "pw-" + QString::number(qHash(QTest::currentDataTag())));
        DatabasePtr db;
        const uint64_t derivations = format::derivationCount();
        QCOMPARE(DBEngine::OpenDatabase(file, false, false, connect, db).number(), expected);
        if (connect.endsWith("=''") && !filePassword.isEmpty()) {
            QCOMPARE(format::derivationCount(), derivations); // the header alone answers the first try
        }
    }

    void realKeyDerivationIsStrong()
    {
        format::setPasswordKdfForTesting({});
        const QString file = fixture::createDataFile(m_dir.path(), "strong", "strong.cvd");
        fixture::useCheapKdf();
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        format::Header header;
        QVERIFY(!format::parseHeader(reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size(), header));
        QVERIFY(header.hasPassword());
        QVERIFY(header.kdf.passes >= 3);
        QVERIFY(header.kdf.memory >= 64ull * 1024 * 1024);
        QVERIFY(fixture::open(file, "strong"));
    }

    void damagedFilesAreRefused_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QList<int>>("expected");
        const QList<int> damaged{3049};
        const QList<int> foreign{3343};
        for (const QString& pw : {QString(), QStringLiteral("pw")}) {
            const QString p = pw.isEmpty() ? "plain " : "protected ";
            QTest::newRow(qPrintable(p + "empty")) << pw << "empty" << foreign;
            QTest::newRow(qPrintable(p + "text file")) << pw << "foreign" << foreign;
            QTest::newRow(qPrintable(p + "header cut")) << pw << "cut:100" << damaged;
            QTest::newRow(qPrintable(p + "payload cut")) << pw << "cut:half" << damaged;
            QTest::newRow(qPrintable(p + "last byte cut")) << pw << "cut:last" << damaged;
            QTest::newRow(qPrintable(p + "appended byte")) << pw << "append" << damaged;
            QTest::newRow(qPrintable(p + "flag bit")) << pw << "flip:10" << damaged;
            QTest::newRow(qPrintable(p + "salt bit")) << pw << "flip:40" << damaged;
            QTest::newRow(qPrintable(p + "key check bit")) << pw << "flip:80" << damaged;
            QTest::newRow(qPrintable(p + "payload bit")) << pw << "flip:300" << damaged;
            QTest::newRow(qPrintable(p + "tag bit")) << pw << "flip:last" << damaged;
            // Forged with a valid checksum: refused before any derivation or allocation.
            QTest::newRow(qPrintable(p + "33 passes")) << pw << "forge:16:33" << damaged;
            QTest::newRow(qPrintable(p + "1 GiB of memory")) << pw << "forge:24:1073741824" << damaged;
            QTest::newRow(qPrintable(p + "2 GiB sparse payload")) << pw << "forge:104:2147483648" << damaged;
        }
        row("missing", "", "missing", QList<int>{3024});
    }
    void damagedFilesAreRefused()
    {
        QFETCH(QString, password);
        QFETCH(QString, damage);
        QFETCH(QList<int>, expected);
        const QString file =
            fixture::createDataFile(m_dir.path(), password, "dmg-" + QString::number(qHash(QTest::currentDataTag())));
        QByteArray bytes = testsupport::readFile(file);
        QFile f(file);
        const QString kind = damage.section(':', 0, 0);
        const QString where = damage.section(':', 1);
        const int at = where == "last"   ? bytes.size() - 1
                       : where == "half" ? bytes.size() / 2
                                         : where.section(':', 0, 0).toInt();
        if (kind == "missing") {
            QVERIFY(QFile::remove(file));
            QFile::remove(file + ".lock");
        } else if (kind == "empty") {
            bytes.clear();
        } else if (kind == "foreign") {
            bytes = "Name,Card\nAnn,4111\n";
        } else if (kind == "cut") {
            bytes.truncate(at);
        } else if (kind == "append") {
            bytes.append('\0');
        } else if (kind == "flip") {
            bytes[at] = static_cast<char>(bytes[at] ^ 0x01);
        } else if (kind == "forge") {
            const quint64 value = damage.section(':', 2).toULongLong();
            for (int i = 0; i < 8; ++i) {
                bytes[at + i] = static_cast<char>(value >> (8 * i));
            }
            crypto_generichash(reinterpret_cast<unsigned char*>(bytes.data()) + 112, 32,
                               reinterpret_cast<const unsigned char*>(bytes.constData()), 112, nullptr, 0);
        }
        QVERIFY(kind == "missing" || (f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) >= 0));
        if (damage.startsWith("forge:104:")) {
            QVERIFY(f.resize(144 + 2147483648ll + 16)); // sparse: as long as the header says
        }
        f.close();
        const uint64_t derivations = format::derivationCount();
        DatabasePtr db;
        const Error e = DBEngine::OpenDatabase(file, false, false, statements::connectWith(password), db);
        if (kind == "forge") {
            QCOMPARE(format::derivationCount(), derivations);
        }
        QVERIFY2(expected.contains(e.number()), qPrintable(QString::number(e.number()) + " " + e.description()));
        QVERIFY(!e.description().isEmpty());
        QVERIFY(!db);
        QVERIFY(kind != "missing" || !QFile::exists(file + ".lock"));
    }

    // The payload is sealed and opened a piece at a time; the result must be the library's
    // one-call construction exactly, whatever the length, so every file written before opens.
    void payloadPiecesMatchTheOneCallForm_data()
    {
        QTest::addColumn<int>("size");
        for (int size : {0, 1, 63, 64, 65, 262143, 262144, 262145, 3 * 262144 + 100}) {
            QTest::newRow(qPrintable(QString::number(size))) << size;
        }
    }
    void payloadPiecesMatchTheOneCallForm()
    {
        QFETCH(int, size);
        format::Header header;
        header.kdf = format::cheapKdf();
        format::newSalt(header);
        format::Keys keys;
        QVERIFY(!format::deriveKeys(SecureBytes::fromText("pw"), header, keys));
        std::vector<unsigned char> plain(size_t(size) + 1);
        randombytes_buf(plain.data(), plain.size());
        format::Image file;
        QVERIFY(!format::seal(header, keys, plain.data(), size, file));
        std::vector<unsigned char> back(plain.size());
        unsigned long long length = 0;
        QCOMPARE(
            crypto_aead_xchacha20poly1305_ietf_decrypt(back.data(), &length, nullptr, file.data() + format::kHeaderSize,
                                                       file.size() - format::kHeaderSize, file.data(),
                                                       format::kHeaderSize, header.nonce.data(), keys.payload.data()),
            0);
        QVERIFY(length == size_t(size) && std::equal(back.begin(), back.begin() + size, plain.begin()));
        unsigned char* opened = nullptr;
        QVERIFY(!format::open(header, keys, file.data(), file.size(), opened));
        QVERIFY(std::equal(opened, opened + size, plain.begin()));
        sqlite3_free(opened);
        file[format::kHeaderSize + size_t(size) * 7 / 8] ^= 0x80; // in the last piece, or the tag
        QCOMPARE(format::open(header, keys, file.data(), file.size(), opened).number(), 3049);
        QVERIFY(!opened);
    }

    void newPassword_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        row("none to one", "", "first");
        row("one to another", "first", "Second One");
        row("one to none", "first", "");
        // Any text a person can type, connect-text syntax included, is a password.
        for (const QString& typed :
             {QString("''"), QString("'"), QString(";"), QString("PWD=x"), QString(";PWD="), QString("  blanks  "),
              QString("Ab1 ").repeated(50), QString::fromUtf8("пароль 密码"), QString::fromUtf8("🔑 ключ 🐉")}) {
            QTest::newRow(qPrintable("none to " + typed)) << "" << typed;
        }
        row("two quotes to ;PWD=", "''", ";PWD=");
    }
    void newPassword()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        const QString file =
            fixture::createDataFile(m_dir.path(), from, "np-" + QString::number(qHash(QTest::currentDataTag())));
        {
            DatabasePtr db = fixture::open(file, from);
            QVERIFY(fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "kept"}}) > 0);
        }
        QByteArray saltBefore = testsupport::readFile(file).mid(32, 16);
        {
            DatabasePtr db;
            QVERIFY(!DBEngine::OpenDatabase(file, true, false, statements::connectWith(from), db, from));
            QCOMPARE(db->NewPassword(from + "x", to).number(), from.isEmpty() ? 0 : 3031);
            if (!from.isEmpty()) {
                QVERIFY(!db->NewPassword(from, to));
            }
            QCOMPARE(db->HasPassword(), !to.isEmpty());
        }
        QVERIFY(testsupport::readFile(file).mid(32, 16) != saltBefore); // a new password gets a fresh salt
        DatabasePtr db;
        if (!from.isEmpty() && !to.isEmpty()) {
            QCOMPARE(DBEngine::OpenDatabase(file, false, false, statements::connectWith(from), db, from).number(),
                     3031);
        }
        if (!to.isEmpty()) {
            QString changed = to;
            changed[0] = changed[0] == QChar('a') ? QChar('b') : QChar('a');
            QCOMPARE(DBEngine::OpenDatabase(file, false, false, statements::connectWith(changed), db, changed).number(),
                     3031);
            // Without the password beside it, the connect text keeps its meaning: "''" is none.
            QCOMPARE(DBEngine::OpenDatabase(file, false, false, statements::connectWith(to), db).number(),
                     to == "''" ? 3031 : 0);
            db.reset();
        }
        QVERIFY(!maintenance::compactDataFile(file, to));
        db = fixture::open(file, to);
        QVERIFY(db);
        QCOMPARE(fixture::column(*db, "Select * From [Web Accounts]", "Web Site"), QStringList{"kept"});
    }

    // Openings share a file and its key; an exclusive one (a password change) has it alone, also
    // against another process, and a holder that died leaves no lock behind.
    void sharedAndExclusiveOpenings()
    {
        const QString file = fixture::createDataFile(m_dir.path(), "pw", "shared.cvd");
        DatabasePtr first = fixture::open(file, "pw");
        QVERIFY(first);
        const auto before = format::derivationCount();
        DatabasePtr second = fixture::open(file, "pw");
        QVERIFY(second);
        QCOMPARE(format::derivationCount(), before);
        DatabasePtr other;
        QCOMPARE(DBEngine::OpenDatabase(file, false, false, "MS Access;PWD=PW", other).number(), 3031);
        QVERIFY(fixture::addRecord(*first, "[Credit Cards]", {{"Credit Card", "Seen"}}) > 0);
        QCOMPARE(fixture::column(*second, "Select * From [Credit Cards]", "Credit Card"), QStringList{"Seen"});
        QCOMPARE(DBEngine::OpenDatabase(file, true, false, "MS Access;PWD=pw", other).number(), 3045);
        QCOMPARE(first->NewPassword("pw", "b").number(), 3621);
        first.reset();
        second.reset();
        Error shared;
        Error exclusive;
        {
            fixture::OtherProgram holder(file, true, "pw");
            QVERIFY(holder.opened());
            shared = DBEngine::OpenDatabase(file, false, false, "MS Access;PWD=pw", other);
            exclusive = DBEngine::OpenDatabase(file, true, false, "MS Access;PWD=pw", other);
        }
        QCOMPARE(shared.number(), 3356);
        QCOMPARE(exclusive.number(), 3045);
        QVERIFY(!shared.description().isEmpty());
        QVERIFY(!DBEngine::OpenDatabase(file, true, false, "MS Access;PWD=pw", other));
    }

    // A link is followed once, at opening: saves, compactions and the lock go to the file it
    // names, the link stays a link, and every file keeps its mode. A new file is private.
    void linkAndModeStayAsTheyAre()
    {
        QVERIFY(QDir(m_dir.path()).mkpath("real"));
        const QString file = fixture::createDataFile(m_dir.filePath("real"), "pw", "linked.cvd");
        QCOMPARE(modeOf(file), 0600);
        QVERIFY(::chmod(QFile::encodeName(file).constData(), 0640) == 0);
        const QString link = path("link.cvd");
        QVERIFY(QFile::link(file, link));
        {
            DatabasePtr db = fixture::open(link, "pw");
            QVERIFY(db);
            QVERIFY(fixture::addRecord(*db, "[Web Accounts]", {{"Web Site", "through the link"}}) > 0);
        }
        QVERIFY(!maintenance::compactDataFile(link, "pw"));
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(QFile::exists(file + ".lock"));
        QCOMPARE(modeOf(file), 0640);
        DatabasePtr db = fixture::open(file, "pw");
        QCOMPARE(fixture::column(*db, statements::listView(Category::Web), "Web Site"),
                 QStringList{"through the link"});
    }

    // A file nobody may write opens; every change is refused with 3051 and the file, mode and
    // content, stays as it was.
    void readOnlyFileOpensAndRefusesEveryChange()
    {
        const QString file = fixture::createDataFile(m_dir.path(), "pw", "readonly.cvd");
        QVERIFY(::chmod(QFile::encodeName(file).constData(), 0400) == 0);
        QFile before(file);
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray bytes = before.readAll();
        before.close();
        {
            DatabasePtr db = fixture::open(file, "pw");
            QVERIFY(db);
            RecordsetPtr rs;
            QVERIFY(!db->OpenRecordset("Select * From [Web Accounts]", rs, dbOpenDynaset));
            QVERIFY(!rs->AddNew());
            QVERIFY(!rs->SetField("Web Site", "refused"));
            const Error e = rs->Update();
            QCOMPARE(e.number(), 3051);
            QVERIFY2(e.description().contains("permission"), qPrintable(e.description()));
            QCOMPARE(fixture::column(*db, statements::listView(Category::Web), "Web Site"), QStringList());
        }
        QCOMPARE(maintenance::compactDataFile(file, "pw").number(), 3051);
        QCOMPARE(maintenance::changePassword(file, "pw", "new").number(), 3051);
        QCOMPARE(modeOf(file), 0400);
        QFile after(file);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), bytes);
        QVERIFY(::chmod(QFile::encodeName(file).constData(), 0600) == 0);
        QVERIFY(fixture::open(file, "pw"));
    }
};

QTEST_GUILESS_MAIN(tst_DataFile)
#include "tst_DataFile.moc"
