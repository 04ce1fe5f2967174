// numbers.cpp: reading and writing the host's numbers.
#include "numbers.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace kvhost {

bool ParseNumber(const std::string &text, double &out) {
    if (text.empty()) return false;
    const char *begin = text.c_str();
    char *end = nullptr;
    errno = 0;
    const double v = std::strtod(begin, &end);
    // The whole text must be the number: a NUL byte inside it would otherwise hide the rest.
    if (end != begin + text.size() || errno == ERANGE || !std::isfinite(v)) return false;
    out = v;
    return true;
}

std::string ExactNumberText(double value) {
    char buf[64];
    const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

std::string FormatText(const char *format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string out;
    if (n > 0) {
        std::vector<char> buf(static_cast<size_t>(n) + 1);
        std::vsnprintf(buf.data(), buf.size(), format, again);
        out.assign(buf.data(), static_cast<size_t>(n));
    }
    va_end(again);
    return out;
}

}  // namespace kvhost
