// text.h: copying names into the module's fixed-size text fields.
#ifndef KAVREX_MODEL_TEXT_H
#define KAVREX_MODEL_TEXT_H

#include <cstddef>
#include <cstring>

namespace kavrex {

// Copies src into dst[size], cut to size - 1 bytes and always terminated.
inline void CopyText(char *dst, size_t size, const char *src) {
    if (size == 0) return;
    size_t n = 0;  // the length within size - 1, without reading past it
    while (n < size - 1 && src[n] != '\0') ++n;
    std::memcpy(dst, src, n);
    dst[n] = '\0';
}

// Compares two texts ignoring the case of ASCII letters, as the simulator compares body names.
inline bool SameTextIgnoringCase(const char *a, const char *b) {
    for (;; ++a, ++b) {
        const unsigned char ca = static_cast<unsigned char>(*a), cb = static_cast<unsigned char>(*b);
        const unsigned char la = (ca >= 'A' && ca <= 'Z') ? ca + 32 : ca;
        const unsigned char lb = (cb >= 'A' && cb <= 'Z') ? cb + 32 : cb;
        if (la != lb) return false;
        if (la == '\0') return true;
    }
}

// True when text begins with the first n characters of key, ignoring the case of ASCII letters.
inline bool StartsWithIgnoringCase(const char *text, const char *key, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        const unsigned char a = static_cast<unsigned char>(text[i]), b = static_cast<unsigned char>(key[i]);
        if (((a >= 'A' && a <= 'Z') ? a + 32 : a) != ((b >= 'A' && b <= 'Z') ? b + 32 : b)) return false;
        if (a == '\0') return false;
    }
    return true;
}

}  // namespace kavrex

#endif
