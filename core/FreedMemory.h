#pragma once

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace picbasket {

// Gives the pages of freed blocks back to the system (glibc keeps them for later
// requests). Under AddressSanitizer the sanitizer owns every allocation and glibc's
// arenas of a worker thread are never set up, so there is nothing to give back and
// trimming them would read a null arena.
inline void returnFreedMemory() {
#if defined(__SANITIZE_ADDRESS__)
    return;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return;
#endif
#endif
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace picbasket
