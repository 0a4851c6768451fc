// libFuzzer target over the data-file reader: header, decryption and the database image.
//
// The first byte chooses how the rest is used. Bit 0: connect with a password instead of none.
// Bit 1: the rest is a database image, sealed here into a file without password first. A file
// without password is sealed under keys anyone can derive, so a hostile image is a real threat
// and must reach the database reader, which mutated ciphertext never would.

#include "FileFormat.h"
#include "LookupLists.h"
#include "Statements.h"

#include <QString>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

QString g_path;
dao::format::Header g_header;
dao::format::Keys g_keys;

void check(const dao::Error& e)
{
    // A refusal must say what went wrong, with a number the program can test.
    if (e && (e.number() <= 0 || e.description().isEmpty())) {
        std::fprintf(stderr, "error without number or description: %d\n", e.number());
        std::abort();
    }
}

void readAll(dao::Database& db, const QString& statement)
{
    dao::RecordsetPtr rs;
    const dao::Error e = db.OpenRecordset(statement, rs);
    check(e);
    if (e) {
        return;
    }
    const QStringList fields = rs->FieldNames();
    for (int row = 0; !rs->Eof() && row < 64; ++row) {
        for (const QString& field : fields) {
            QVariant value;
            check(rs->Field(field, value));
        }
        const dao::Error moved = rs->MoveNext();
        check(moved);
        if (moved) {
            break;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (!dao::initializeCrypto()) {
        std::abort();
    }
    dao::format::setPasswordKdfForTesting(dao::format::cheapKdf());
    const char* tmp = std::getenv("TMPDIR");
    g_path = QString::fromLocal8Bit(tmp && *tmp ? tmp : "/tmp") +
             QStringLiteral("/corvanta-fuzz-%1.cvd").arg(static_cast<qint64>(::getpid()));
    g_header.kdf = dao::format::cheapKdf();
    if (dao::format::deriveKeys(dao::SecureBytes(), g_header, g_keys)) {
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    const uint8_t mode = data[0];
    dao::format::Image file;
    if (mode & 2) {
        dao::format::Header header = g_header;
        if (dao::format::seal(header, g_keys, data + 1, size - 1, file)) {
            return 0;
        }
    } else {
        file.assign(data + 1, data + size);
    }
    const QByteArray native = g_path.toLocal8Bit();
    FILE* out = std::fopen(native.constData(), "wb");
    if (!out) {
        std::abort();
    }
    if (!file.empty() && std::fwrite(file.data(), 1, file.size(), out) != file.size()) {
        std::abort();
    }
    std::fclose(out);

    const QString connect = (mode & 1) ? statements::connectWith(QStringLiteral("fuzz")) : statements::connectFirst();
    dao::DatabasePtr db;
    const dao::Error e = dao::DBEngine::OpenDatabase(g_path, false, false, connect, db);
    check(e);
    if (!e) {
        // What the program reads from a file it has opened.
        for (const QString& statement :
             {statements::personalCheck(), statements::personalFrame(), statements::listView(Category::Credit),
              statements::listView(Category::Travel), statements::listView(Category::Web)}) {
            readAll(*db, statement);
        }
        for (const char* kind : {"E-Mail Address", "Web Account", "Names", "Login", "States"}) {
            (void)lookup::values(*db, QString::fromLatin1(kind));
        }
        db->Close();
    }
    return 0;
}
