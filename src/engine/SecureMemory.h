#pragma once

#include <QString>

#include <cstddef>

namespace dao {

// Starts the crypto library once; false means the program must not go on. Called before the
// database engine's first use, it also makes the engine wipe every block of memory it frees
// (the decrypted database lives there).
bool initializeCrypto();
// Whether the database engine's frees wipe; false when the engine was in use before
// initializeCrypto.
bool databaseHeapWiped();

// Bytes in guarded memory that is locked against swapping and wiped when released.
class SecureBytes
{
public:
    SecureBytes() = default;
    explicit SecureBytes(size_t size);
    static SecureBytes fromText(const QString& text);
    ~SecureBytes();
    SecureBytes(SecureBytes&& other) noexcept;
    SecureBytes& operator=(SecureBytes&& other) noexcept;
    SecureBytes(const SecureBytes&) = delete;
    SecureBytes& operator=(const SecureBytes&) = delete;

    unsigned char* data() { return m_data; }
    const unsigned char* data() const { return m_data; }
    size_t size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    // Wipes and releases the bytes: empty afterwards.
    void clear() { release(); }
    bool valid() const { return m_data != nullptr || m_size == 0; }
    // Constant-time comparison of contents.
    bool equals(const SecureBytes& other) const;
    SecureBytes copy() const;

private:
    void release();
    unsigned char* m_data = nullptr;
    size_t m_size = 0;
};

} // namespace dao
