#include "SecureMemory.h"

#include <sodium.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <utility>

namespace dao {

namespace {

// The database engine's memory routines: each block carries its size in front, so that a free
// can wipe it whole. 16 bytes keep the block as aligned as malloc's.
constexpr size_t kHeader = 16;

constexpr int kHeaps = 1;
constexpr int kOwnMappingFrom = 4 * 1024 * 1024;

unsigned char* blockStart(void* memory)
{
    return static_cast<unsigned char*>(memory) - kHeader;
}

size_t blockSize(void* memory)
{
    size_t size = 0;
    std::memcpy(&size, blockStart(memory), sizeof size);
    return size;
}

void* wipingMalloc(int size)
{
    if (size <= 0) {
        return nullptr;
    }
    auto* block = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(size) + kHeader));
    if (block == nullptr) {
        return nullptr;
    }
    const auto stored = static_cast<size_t>(size);
    std::memcpy(block, &stored, sizeof stored);
    return block + kHeader;
}

void wipingFree(void* memory)
{
    if (memory == nullptr) {
        return;
    }
    unsigned char* block = blockStart(memory);
    sodium_memzero(block, blockSize(memory) + kHeader);
    std::free(block);
}

void* wipingRealloc(void* memory, int size)
{
    if (memory == nullptr) {
        return wipingMalloc(size);
    }
    // Moved by hand: the old block is wiped, which realloc would not do.
    void* moved = wipingMalloc(size);
    if (moved == nullptr) {
        return nullptr;
    }
    std::memcpy(moved, memory, std::min(blockSize(memory), static_cast<size_t>(size)));
    wipingFree(memory);
    return moved;
}

int wipingSize(void* memory)
{
    return memory == nullptr ? 0 : static_cast<int>(blockSize(memory));
}

int wipingRoundup(int size)
{
    return (size + 7) & ~7;
}

int wipingInit(void*)
{
    return SQLITE_OK;
}

void wipingShutdown(void*) {}

bool installWipingHeap()
{
    static sqlite3_mem_methods methods{wipingMalloc,  wipingFree, wipingRealloc,  wipingSize,
                                       wipingRoundup, wipingInit, wipingShutdown, nullptr};
    return sqlite3_config(SQLITE_CONFIG_MALLOC, &methods) == SQLITE_OK;
}

bool& heapWiped()
{
    static bool wiped = false;
    return wiped;
}

} // namespace

bool initializeCrypto()
{
    static const bool ok = [] {
        // Every thread allocates from the one heap. The threads that read a large file's lists
        // would otherwise each keep a heap of their own, holding the megabytes they freed for
        // nobody else: with 100,000 records, some 25 MB more at the program's peak.
        mallopt(M_ARENA_MAX, kHeaps);
        // Large blocks (database images and their copies, the lists' texts) are mapped on their
        // own and go back to the system when freed. Left to itself the heap takes them in after
        // the first such block is freed, and then keeps what they leave behind for good: with
        // 100,000 records, some 35 MB more at the program's peak.
        mallopt(M_MMAP_THRESHOLD, kOwnMappingFrom);
        heapWiped() = installWipingHeap();
        return sodium_init() >= 0;
    }();
    return ok;
}

bool databaseHeapWiped()
{
    return heapWiped();
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
