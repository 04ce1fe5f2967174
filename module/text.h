// text.h: copying names into the module's fixed-size text fields.
#ifndef KAVREX_MODULE_TEXT_H
#define KAVREX_MODULE_TEXT_H

#include <cstddef>
#include <cstring>

namespace kavrex {

// Copies src into dst[size], cut to size - 1 bytes and always terminated.
inline void CopyText(char *dst, size_t size, const char *src) {
    if (size == 0) return;
    const size_t n = strnlen(src, size - 1);
    std::memcpy(dst, src, n);
    dst[n] = '\0';
}

}  // namespace kavrex

#endif
