// Every block of memory the program frees is wiped first. Qt keeps each text it handles (a
// field's value, a connect text, a record read from the data file) in blocks of the C heap and
// frees them without clearing them; what was freed stays readable in the heap until the block
// is used again. Here free and realloc are the program's own: they clear a block before the C
// library takes it back. A sanitizer build keeps its own allocator, which must see every call.

#include "Main.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define CORVANTA_SANITIZED_HEAP 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define CORVANTA_SANITIZED_HEAP 1
#endif

#if !defined(CORVANTA_SANITIZED_HEAP)

#include <cstddef>
#include <malloc.h>
#include <string.h>

extern "C" {

void* __libc_malloc(size_t size);
void __libc_free(void* memory);

void free(void* memory)
{
    if (memory != nullptr) {
        explicit_bzero(memory, malloc_usable_size(memory));
        __libc_free(memory);
    }
}

void* realloc(void* memory, size_t size)
{
    if (memory == nullptr) {
        return __libc_malloc(size);
    }
    if (size == 0) {
        free(memory);
        return nullptr;
    }
    const size_t usable = malloc_usable_size(memory);
    if (size <= usable) {
        return memory;
    }
    // Moved by hand, so that the old block is wiped as it goes.
    void* moved = __libc_malloc(size);
    if (moved != nullptr) {
        memcpy(moved, memory, usable);
        free(memory);
    }
    return moved;
}

} // extern "C"

bool HeapWipedOnFree()
{
    return true;
}

#else

bool HeapWipedOnFree()
{
    return false;
}

#endif
