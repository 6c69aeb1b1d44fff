#include "base/error.h"

#include <cstdarg>
#include <cstdio>

namespace kestrin {

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    if (size > 0) std::vsnprintf(&out[0], out.size() + 1, format, args);
    va_end(args);
    return out;
}

}  // namespace kestrin
