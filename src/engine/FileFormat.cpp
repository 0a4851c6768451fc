#include "FileFormat.h"

#include <QElapsedTimer>

#include <sodium.h>
#include <sqlite3.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <new>

namespace dao::format {

namespace {

constexpr unsigned char kMagic[8] = {'C', 'R', 'V', 'N', 'T', 'C', 'V', 'D'};
constexpr size_t kChecksumOffset = 112;
constexpr uint64_t kMinPasswordPasses = 3;
constexpr uint64_t kMinPasswordMemory = 64ull * 1024 * 1024;
constexpr double kTargetSeconds = 0.5;

// The most a reader accepts: what this program writes (64 MiB, at most 32 passes), with room
// for a faster machine's calibration, and no more, so that a forged header cannot hold the
// start for minutes or take a gigabyte.
constexpr uint64_t kMaxPasses = 32;
constexpr uint64_t kMaxMemory = 2 * kMinPasswordMemory;
// An image the in-memory database could never hold is refused before anything is read.
constexpr uint64_t kMaxPayload = 1024ull * 1024 * 1024;

// The payload is read, decrypted and sealed this many bytes at a time: few enough to stay in the
// processor's cache between reading and decrypting, many enough to keep system calls rare.
constexpr size_t kPiece = 256 * 1024;
constexpr size_t kChaChaBlock = 64;

KdfParams g_testKdf;
uint64_t g_derivations = 0;
std::function<void(const std::function<void()>&)> g_runner;

void put16(unsigned char* p, uint16_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
void put32(unsigned char* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<unsigned char>(v >> (8 * i));
    }
}
void put64(unsigned char* p, uint64_t v)
{
    for (int i = 0; i < 8; ++i) {
        p[i] = static_cast<unsigned char>(v >> (8 * i));
    }
}
uint16_t get16(const unsigned char* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t get32(const unsigned char* p)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | p[i];
    }
    return v;
}
uint64_t get64(const unsigned char* p)
{
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i) {
        v = (v << 8) | p[i];
    }
    return v;
}

void encodeHeader(const Header& h, unsigned char* out)
{
    std::memcpy(out, kMagic, sizeof kMagic);
    put16(out + 8, h.version);
    put16(out + 10, h.flags);
    put32(out + 12, h.kdf.algorithm);
    put64(out + 16, h.kdf.passes);
    put64(out + 24, h.kdf.memory);
    std::memcpy(out + 32, h.salt.data(), kSaltSize);
    std::memcpy(out + 48, h.nonce.data(), kNonceSize);
    std::memcpy(out + 72, h.keyCheck.data(), kKeySize);
    put64(out + 104, h.payloadLength);
    crypto_generichash(out + kChecksumOffset, 32, out, kChecksumOffset, nullptr, 0);
}

// Derives one key of the master key for one purpose.
bool subkey(const SecureBytes& master, const char* purpose, const Header& h, SecureBytes& out)
{
    out = SecureBytes(kKeySize);
    if (!out.data()) {
        return false;
    }
    crypto_generichash_state state;
    crypto_generichash_init(&state, master.data(), master.size(), kKeySize);
    crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(purpose), std::strlen(purpose));
    crypto_generichash_update(&state, h.salt.data(), kSaltSize);
    crypto_generichash_final(&state, out.data(), kKeySize);
    return true;
}

// Seconds one derivation with these parameters takes, once the memory is mapped.
double timeDerivation(const KdfParams& p)
{
    unsigned char salt[kSaltSize] = {};
    unsigned char key[kKeySize];
    QElapsedTimer timer;
    qint64 best = -1;
    for (int run = 0; run < 1; ++run) {
        timer.start();
        if (crypto_pwhash(key, sizeof key, "calibrate", 9, salt, p.passes, p.memory, static_cast<int>(p.algorithm)) !=
            0) {
            return kTargetSeconds;
        }
        const qint64 elapsed = timer.nsecsElapsed();
        best = best < 0 ? elapsed : std::min(best, elapsed);
    }
    return std::max(0.001, static_cast<double>(best) / 1e9);
}

KdfParams calibrated()
{
    KdfParams p;
    p.algorithm = crypto_pwhash_ALG_ARGON2ID13;
    p.memory = kMinPasswordMemory;
    p.passes = kMinPasswordPasses;
    // A derivation costs a fixed part (filling the memory) plus a part per pass; two
    // measurements give both, and so the passes that take about the target time here.
    const double atMin = timeDerivation(p);
    KdfParams twice = p;
    twice.passes = 3 * kMinPasswordPasses;
    const double atTwice = timeDerivation(twice);
    const double perPass = std::max(1e-4, (atTwice - atMin) / static_cast<double>(twice.passes - p.passes));
    const double passes = static_cast<double>(kMinPasswordPasses) + (kTargetSeconds - atMin) / perPass;
    p.passes = std::clamp<uint64_t>(static_cast<uint64_t>(std::max(0.0, passes) + 0.5), kMinPasswordPasses, kMaxPasses);
    return p;
}

} // namespace

KdfParams passwordKdf()
{
    if (g_testKdf.algorithm != 0) {
        return g_testKdf;
    }
    static const KdfParams params = calibrated();
    return params;
}

KdfParams cheapKdf()
{
    KdfParams p;
    p.algorithm = crypto_pwhash_ALG_ARGON2ID13;
    p.passes = crypto_pwhash_OPSLIMIT_MIN;
    p.memory = crypto_pwhash_MEMLIMIT_MIN;
    return p;
}

void setPasswordKdfForTesting(const KdfParams& params)
{
    g_testKdf = params;
}

void setDerivationRunner(std::function<void(const std::function<void()>&)> runner)
{
    g_runner = std::move(runner);
}

uint64_t derivationCount()
{
    return g_derivations;
}

Error deriveKeys(const SecureBytes& password, const Header& header, Keys& out)
{
    ++g_derivations;
    SecureBytes master(kKeySize);
    if (!master.data()) {
        return makeError(err::OutOfMemory);
    }
    static const char empty = 0;
    const char* pw = password.size() ? reinterpret_cast<const char*>(password.data()) : &empty;
    int rc = -1;
    auto derive = [&] {
        rc = crypto_pwhash(master.data(), kKeySize, pw, password.size(), header.salt.data(), header.kdf.passes,
                           static_cast<size_t>(header.kdf.memory), static_cast<int>(header.kdf.algorithm));
    };
    // The cheapest parameters take microseconds; only a real derivation is worth a thread.
    if (g_runner && header.kdf.memory > crypto_pwhash_MEMLIMIT_MIN) {
        g_runner(derive);
    } else {
        derive();
    }
    if (rc != 0) {
        return makeError(err::OutOfMemory);
    }
    if (!subkey(master, "corvanta payload key", header, out.payload) ||
        !subkey(master, "corvanta key check", header, out.check)) {
        return makeError(err::OutOfMemory);
    }
    return {};
}

Error parseHeader(const unsigned char* data, size_t size, Header& out)
{
    return parseHeader(data, size, size, out);
}

Error parseHeader(const unsigned char* data, size_t available, uint64_t fileSize, Header& out)
{
    if (available < sizeof kMagic || std::memcmp(data, kMagic, sizeof kMagic) != 0) {
        return makeError(err::NotADataFile);
    }
    if (available < kHeaderSize || fileSize < kHeaderSize) {
        return makeError(err::DamagedFile);
    }
    unsigned char sum[32];
    crypto_generichash(sum, sizeof sum, data, kChecksumOffset, nullptr, 0);
    if (sodium_memcmp(sum, data + kChecksumOffset, sizeof sum) != 0) {
        return makeError(err::DamagedFile);
    }
    Header h;
    h.version = get16(data + 8);
    h.flags = get16(data + 10);
    h.kdf.algorithm = get32(data + 12);
    h.kdf.passes = get64(data + 16);
    h.kdf.memory = get64(data + 24);
    std::memcpy(h.salt.data(), data + 32, kSaltSize);
    std::memcpy(h.nonce.data(), data + 48, kNonceSize);
    std::memcpy(h.keyCheck.data(), data + 72, kKeySize);
    h.payloadLength = get64(data + 104);
    if (h.version != kVersion) {
        return Error(err::NotADataFile, QStringLiteral("The data file was written by a newer version of the program."));
    }
    const bool paramsOk = h.kdf.algorithm == crypto_pwhash_ALG_ARGON2ID13 &&
                          h.kdf.passes >= crypto_pwhash_OPSLIMIT_MIN && h.kdf.passes <= kMaxPasses &&
                          h.kdf.memory >= crypto_pwhash_MEMLIMIT_MIN && h.kdf.memory <= kMaxMemory &&
                          (h.flags & ~kFlagPassword) == 0;
    // The length is checked against the file before anything of the payload is read or allocated.
    if (!paramsOk || fileSize < kHeaderSize + kTagSize || h.payloadLength > kMaxPayload ||
        h.payloadLength != fileSize - kHeaderSize - kTagSize) {
        return makeError(err::DamagedFile);
    }
    out = h;
    return {};
}

unsigned char* newImage(size_t size)
{
    auto* image = static_cast<unsigned char*>(sqlite3_malloc64(size + 1));
    constexpr size_t kLarge = 2 * 1024 * 1024;
    if (image && size >= kLarge) {
        const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
        const uintptr_t begin = (reinterpret_cast<uintptr_t>(image) + page - 1) & ~(page - 1);
        const uintptr_t end = (reinterpret_cast<uintptr_t>(image) + size) & ~(page - 1);
        // Hints only: where the system has neither, each page is mapped as it is first written.
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
    }
    return image;
}

namespace {

// XChaCha20-Poly1305 (IETF) worked a piece at a time, byte for byte what the library's one-call
// form produces for the whole: every piece but the last is a whole number of cipher blocks.
class PayloadCipher
{
public:
    PayloadCipher(const Header& header, const Keys& keys, const unsigned char* encodedHeader)
    {
        crypto_core_hchacha20(m_key, header.nonce.data(), keys.payload.data(), nullptr);
        std::memcpy(m_nonce + 4, header.nonce.data() + crypto_core_hchacha20_INPUTBYTES, 8);
        unsigned char block0[kChaChaBlock];
        crypto_stream_chacha20_ietf(block0, sizeof block0, m_nonce, m_key);
        crypto_onetimeauth_poly1305_init(&m_mac, block0);
        sodium_memzero(block0, sizeof block0);
        authenticate(encodedHeader, kHeaderSize);
        pad(kHeaderSize);
    }
    ~PayloadCipher()
    {
        sodium_memzero(m_key, sizeof m_key);
        sodium_memzero(&m_mac, sizeof m_mac);
    }
    PayloadCipher(const PayloadCipher&) = delete;
    PayloadCipher& operator=(const PayloadCipher&) = delete;

    void encrypt(const unsigned char* plain, unsigned char* out, size_t size)
    {
        crypt(out, plain, size);
        authenticate(out, size);
    }
    void decrypt(unsigned char* data, size_t size)
    {
        authenticate(data, size);
        crypt(data, data, size);
    }
    void finish(unsigned char* tag)
    {
        pad(m_length);
        unsigned char lengths[16];
        const uint64_t adLength = kHeaderSize;
        for (int i = 0; i < 8; ++i) {
            lengths[i] = static_cast<unsigned char>(adLength >> (8 * i));
            lengths[8 + i] = static_cast<unsigned char>(m_length >> (8 * i));
        }
        authenticate(lengths, sizeof lengths);
        crypto_onetimeauth_poly1305_final(&m_mac, tag);
    }
    bool verify(const unsigned char* tag)
    {
        unsigned char computed[kTagSize];
        finish(computed);
        return crypto_verify_16(computed, tag) == 0;
    }

private:
    void crypt(unsigned char* out, const unsigned char* in, size_t size)
    {
        // Block 0 keyed the authenticator; the payload starts at block 1.
        const auto counter = static_cast<uint32_t>(1 + m_length / kChaChaBlock);
        crypto_stream_chacha20_ietf_xor_ic(out, in, size, m_nonce, counter, m_key);
        m_length += size;
    }
    void authenticate(const unsigned char* bytes, size_t size)
    {
        crypto_onetimeauth_poly1305_update(&m_mac, bytes, size);
    }
    void pad(uint64_t length)
    {
        static const unsigned char zeros[16] = {};
        authenticate(zeros, (16 - length % 16) % 16);
    }

    unsigned char m_key[crypto_stream_chacha20_ietf_KEYBYTES];
    unsigned char m_nonce[crypto_stream_chacha20_ietf_NONCEBYTES] = {};
    crypto_onetimeauth_poly1305_state m_mac;
    uint64_t m_length = 0;
};

} // namespace

Error seal(Header& header, const Keys& keys, const unsigned char* plain, size_t plainSize, const Sink& sink)
{
    randombytes_buf(header.nonce.data(), kNonceSize);
    std::memcpy(header.keyCheck.data(), keys.check.data(), kKeySize);
    header.payloadLength = plainSize;
    unsigned char encoded[kHeaderSize];
    encodeHeader(header, encoded);
    if (Error e = sink(encoded, kHeaderSize)) {
        return e;
    }
    std::unique_ptr<unsigned char[]> piece(
        new (std::nothrow) unsigned char[std::max<size_t>(1, std::min(kPiece, plainSize))]);
    if (!piece) {
        return makeError(err::OutOfMemory);
    }
    PayloadCipher cipher(header, keys, encoded);
    for (size_t done = 0; done < plainSize;) {
        const size_t n = std::min(kPiece, plainSize - done);
        cipher.encrypt(plain + done, piece.get(), n);
        if (Error e = sink(piece.get(), n)) {
            return e;
        }
        done += n;
    }
    unsigned char tag[kTagSize];
    cipher.finish(tag);
    return sink(tag, kTagSize);
}

Error seal(Header& header, const Keys& keys, const unsigned char* plain, size_t plainSize, Image& out)
{
    out.clear();
    try {
        out.reserve(kHeaderSize + plainSize + kTagSize);
    } catch (const std::bad_alloc&) {
        return makeError(err::OutOfMemory);
    }
    return seal(header, keys, plain, plainSize, [&](const unsigned char* bytes, size_t size) {
        out.insert(out.end(), bytes, bytes + size);
        return Error();
    });
}

Error open(const Header& header, const Keys& keys, const unsigned char* encodedHeader, const Source& source,
           unsigned char*& plain)
{
    plain = nullptr;
    if (sodium_memcmp(header.keyCheck.data(), keys.check.data(), kKeySize) != 0) {
        return makeError(err::InvalidPassword);
    }
    const auto size = static_cast<size_t>(header.payloadLength);
    unsigned char* image = newImage(size);
    if (!image) {
        return makeError(err::OutOfMemory);
    }
    // Each piece is decrypted right after it is read, while it is still in the cache; the
    // image counts only once the tag at the end proves all of it.
    PayloadCipher cipher(header, keys, encodedHeader);
    Error e;
    for (size_t done = 0; !e && done < size;) {
        const size_t n = std::min(kPiece, size - done);
        e = source(image + done, n);
        if (!e) {
            cipher.decrypt(image + done, n);
        }
        done += n;
    }
    unsigned char tag[kTagSize];
    if (!e) {
        e = source(tag, kTagSize);
    }
    if (!e && !cipher.verify(tag)) {
        e = makeError(err::DamagedFile);
    }
    if (e) {
        sodium_memzero(image, size);
        sqlite3_free(image);
        return e;
    }
    plain = image;
    return {};
}

Error open(const Header& header, const Keys& keys, const unsigned char* data, size_t size, unsigned char*& plain)
{
    size_t at = kHeaderSize;
    return open(
        header, keys, data,
        [&](unsigned char* into, size_t n) {
            if (at > size || n > size - at) {
                return makeError(err::DamagedFile);
            }
            std::memcpy(into, data + at, n);
            at += n;
            return Error();
        },
        plain);
}

void newSalt(Header& header)
{
    randombytes_buf(header.salt.data(), kSaltSize);
}

} // namespace dao::format
