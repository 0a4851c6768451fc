#include "SecureMemory.h"

#include <sodium.h>

#include <cstring>
#include <utility>

namespace dao {

bool initializeCrypto()
{
    static const bool ok = sodium_init() >= 0;
    return ok;
}

SecureBytes::SecureBytes(size_t size) : m_size(size)
{
    if (size > 0 && initializeCrypto()) {
        m_data = static_cast<unsigned char*>(sodium_malloc(size));
        if (!m_data) {
            m_size = 0;
        }
    }
}

SecureBytes SecureBytes::fromText(const QString& text)
{
    QByteArray utf8 = text.toUtf8();
    SecureBytes bytes(static_cast<size_t>(utf8.size()));
    if (bytes.m_data) {
        std::memcpy(bytes.m_data, utf8.constData(), bytes.m_size);
    }
    sodium_memzero(utf8.data(), static_cast<size_t>(utf8.size()));
    return bytes;
}

SecureBytes::~SecureBytes()
{
    release();
}

SecureBytes::SecureBytes(SecureBytes&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0))
{}

SecureBytes& SecureBytes::operator=(SecureBytes&& other) noexcept
{
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

bool SecureBytes::equals(const SecureBytes& other) const
{
    if (m_size != other.m_size) {
        return false;
    }
    if (m_size == 0) {
        return true;
    }
    return sodium_memcmp(m_data, other.m_data, m_size) == 0;
}

SecureBytes SecureBytes::copy() const
{
    SecureBytes out(m_size);
    if (m_size > 0 && out.m_data) {
        std::memcpy(out.m_data, m_data, m_size);
    }
    return out;
}

void SecureBytes::release()
{
    if (m_data) {
        sodium_free(m_data); // wipes before freeing
    }
    m_data = nullptr;
    m_size = 0;
}

} // namespace dao
