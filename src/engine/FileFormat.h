#pragma once

#include "EngineErrors.h"
#include "SecureMemory.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// The data file: a plain header, then the database image under authenticated encryption.
//
//   offset size
//        0    8  magic "CRVNTCVD"
//        8    2  format version (1)
//       10    2  flags (bit 0: a password is set)
//       12    4  key-derivation algorithm (Argon2id)
//       16    8  passes
//       24    8  memory in bytes
//       32   16  salt
//       48   24  nonce of the payload
//       72   32  key check
//      104    8  payload length (plain bytes)
//      112   32  checksum of bytes 0..111, so damage is told apart from a wrong password
//      144    -  payload: encrypted database image and its 16-byte tag; AD = bytes 0..143
//
// All numbers little-endian.
namespace dao::format {

constexpr size_t kHeaderSize = 144;
constexpr size_t kSaltSize = 16;
constexpr size_t kNonceSize = 24;
constexpr size_t kKeySize = 32;
constexpr size_t kTagSize = 16;
constexpr uint16_t kVersion = 1;
constexpr uint16_t kFlagPassword = 1;

struct KdfParams
{
    uint32_t algorithm = 0;
    uint64_t passes = 0;
    uint64_t memory = 0;
};

struct Header
{
    uint16_t version = kVersion;
    uint16_t flags = 0;
    KdfParams kdf;
    std::array<unsigned char, kSaltSize> salt{};
    std::array<unsigned char, kNonceSize> nonce{};
    std::array<unsigned char, kKeySize> keyCheck{};
    uint64_t payloadLength = 0;

    bool hasPassword() const { return (flags & kFlagPassword) != 0; }
};

// Parameters for a new password: at least 64 MiB and 3 passes, raised once per run so that a
// derivation takes about half a second on this machine. Tests may lower them.
KdfParams passwordKdf();
// The cheapest parameters, for a file without password (it is still authenticated).
KdfParams cheapKdf();
void setPasswordKdfForTesting(const KdfParams& params); // algorithm 0 restores calibration
// Runs every costly derivation through runner, which must call the task once and return when
// it is done (a program with windows runs it on another thread and keeps painting). An empty
// runner runs it in place.
void setDerivationRunner(std::function<void(const std::function<void()>&)> runner);

// The keys of one password and salt.
struct Keys
{
    SecureBytes payload; // encrypts the database image
    SecureBytes check;   // the key check stored in the header
};

// How many key derivations this process has run (for tests of shared openings).
uint64_t derivationCount();

// Derives the keys; fails with 7 when the memory cannot be had.
Error deriveKeys(const SecureBytes& password, const Header& header, Keys& out);

// Reads and checks the header of a file image: 3343 when it is not a data file at all, 3049
// when it is ours but damaged, of parameters no reader would accept (far beyond what this
// program writes), or of a payload length that does not match the file.
Error parseHeader(const unsigned char* data, size_t size, Header& out);
// The same from the first available bytes of a file of fileSize bytes, before the rest is read.
Error parseHeader(const unsigned char* data, size_t available, uint64_t fileSize, Header& out);

// A whole file image, as the fuzzer and the seed writer handle it.
using Image = std::vector<unsigned char>;

// Memory from sqlite3_malloc64 for a database image of size bytes (one spare byte keeps an empty
// image valid), made ready to be written whole at once: large images are mapped in one step,
// in large pages where the system offers them, rather than a page fault at a time.
unsigned char* newImage(size_t size);

// Takes the next bytes of a file being written; returns an error to stop the sealing.
using Sink = std::function<Error(const unsigned char* bytes, size_t size)>;
// Fills exactly size bytes with the next bytes of a file being read.
using Source = std::function<Error(unsigned char* into, size_t size)>;

// Seals a plain image into a file: the header (nonce and length filled in here), then the
// payload a piece at a time, so that no second copy of the image is ever made.
Error seal(Header& header, const Keys& keys, const unsigned char* plain, size_t plainSize, const Sink& sink);
// The same into one image in memory.
Error seal(Header& header, const Keys& keys, const unsigned char* plain, size_t plainSize, Image& out);

// Reads the payload that follows the encoded header from source and decrypts it where it was
// read, into memory from newImage (the caller owns it). 3031 when the key check fails, 3049 when
// the payload does not authenticate; nothing of an unauthenticated payload is handed out.
Error open(const Header& header, const Keys& keys, const unsigned char* encodedHeader, const Source& source,
           unsigned char*& plain);
// The same from a whole file image in memory.
Error open(const Header& header, const Keys& keys, const unsigned char* data, size_t size, unsigned char*& plain);

// A fresh random salt.
void newSalt(Header& header);

} // namespace dao::format
