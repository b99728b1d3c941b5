#pragma once

#include <cstddef>

// The allocator that counts is the one the program runs on: AddressSanitizer's own in a
// sanitizer build, where the C library's figures stay near zero, glibc's otherwise.
#if defined(__SANITIZE_ADDRESS__)
#define VELMORA_HEAP_FROM_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMORA_HEAP_FROM_ASAN 1
#endif
#endif

#if defined(VELMORA_HEAP_FROM_ASAN) && __has_include(<sanitizer/allocator_interface.h>)
#include <sanitizer/allocator_interface.h>
#elif defined(VELMORA_HEAP_FROM_ASAN)
// GCC ships the sanitizer's run-time library without its interface headers.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

// Bytes the program holds allocated right now. Under valgrind, whose allocator glibc does
// not see, this stays 0.
inline std::size_t HeapInUse() {
#if defined(VELMORA_HEAP_FROM_ASAN)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}
