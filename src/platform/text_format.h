#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

namespace qavo {

// printf-style formatting into a string, of any length.
[[gnu::format(printf, 1, 2)]] inline std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (n > 0) {
        text.resize(static_cast<size_t>(n));
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    }
    va_end(again);
    return text;
}

}  // namespace qavo
