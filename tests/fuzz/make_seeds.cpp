// Writes the seed corpus of the data-file fuzzer: real files, empty and full, with and without
// password, each also as the plain database image the fuzzer seals itself.
//
//   make_seeds DIR

#include "FileFormat.h"
#include "Schema.h"
#include "Statements.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>

namespace {

bool writeSeed(const QString& dir, const QString& name, char mode, const QByteArray& bytes)
{
    QFile f(QDir(dir).filePath(name));
    return f.open(QIODevice::WriteOnly) && f.write(QByteArray(1, mode) + bytes) == bytes.size() + 1;
}

// The decrypted database image of a file.
QByteArray imageOf(const QByteArray& file, const QString& password)
{
    const auto* data = reinterpret_cast<const unsigned char*>(file.constData());
    const auto size = static_cast<size_t>(file.size());
    dao::format::Header header;
    dao::format::Keys keys;
    unsigned char* plain = nullptr;
    if (dao::format::parseHeader(data, size, header) ||
        dao::format::deriveKeys(dao::SecureBytes::fromText(password), header, keys) ||
        dao::format::open(header, keys, data, size, plain)) {
        return {};
    }
    QByteArray image(reinterpret_cast<const char*>(plain), static_cast<qsizetype>(header.payloadLength));
    sqlite3_free(plain);
    return image;
}

void fill(const QString& path, const QString& password)
{
    dao::DatabasePtr db;
    if (dao::DBEngine::OpenDatabase(path, false, false, statements::connectWith(password), db)) {
        return;
    }
    const char* const rows[] = {
        "INSERT INTO [Personal Information] ([Name], [State], [E-Mail Address]) VALUES ('Ann', 'OR', 'a@b.org')",
        "INSERT INTO [Credit Cards] ([Credit Card], [Account Number]) VALUES ('Gold', '4111111111111111')",
        "INSERT INTO [Travel Programs] ([Travel Program], [Account Name]) VALUES ('Sky', 'Ann')",
        "INSERT INTO [Web Accounts] ([Web Site], [Login], [Password]) VALUES ('Shop', 'ann', 'pw')"};
    for (const char* row : rows) {
        (void)db->Execute(QString::fromLatin1(row));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds DIR\n");
        return 2;
    }
    dao::format::setPasswordKdfForTesting(dao::format::cheapKdf());
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir work;
    int written = 0;
    for (const bool full : {false, true}) {
        for (const QString& password : {QString(), QStringLiteral("fuzz")}) {
            const QString path = work.filePath(QStringLiteral("seed%1.cvd").arg(written));
            if (schema::createDataFile(path)) {
                return 1;
            }
            if (!password.isEmpty()) {
                dao::DatabasePtr db;
                if (dao::DBEngine::OpenDatabase(path, true, false, statements::connectFirst(), db) ||
                    db->NewPassword(QString(), password)) {
                    return 1;
                }
            }
            if (full) {
                fill(path, password);
            }
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly)) {
                return 1;
            }
            const QByteArray bytes = f.readAll();
            const QString stem =
                QStringLiteral("%1-%2").arg(full ? "full" : "empty", password.isEmpty() ? "plain" : "pw");
            const char mode = password.isEmpty() ? 0 : 1;
            if (!writeSeed(out, stem + ".file", mode, bytes) ||
                !writeSeed(out, stem + ".image", 2, imageOf(bytes, password))) {
                return 1;
            }
            ++written;
        }
    }
    std::printf("%d seed files in %s\n", written * 2, argv[1]);
    return 0;
}
