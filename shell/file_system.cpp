#include "shell/file_system.h"

#include <algorithm>
#include <cstddef>

#include "base/lead_bytes.h"

namespace kestrin {

std::string TemporaryPathFor(std::string_view path, unsigned value) {
    const size_t cut = FindLastCharOf(path, "\\/:");
    const size_t nameStart = cut == std::string_view::npos ? 0 : cut + 1;
    const size_t length = path.size() - nameStart;
    if (length == 0) return std::string();
    constexpr size_t kMaxDigits = 8;
    const size_t tilde = length >= 2 ? 1 : 0;
    size_t kept = length >= 3 ? std::max<size_t>(1, length - 1 - std::min(length - 1, kMaxDigits)) : 0;
    // The kept part ends between characters, never after a lead byte.
    size_t end = nameStart;
    while (end < nameStart + kept) {
        const size_t next = NextCharPos(path, end);
        if (next > nameStart + kept) break;
        end = next;
    }
    kept = end - nameStart;
    const size_t digits = length - kept - tilde;

    static const char kHex[] = "0123456789abcdef";
    std::string temp(path.substr(0, nameStart + kept));
    if (tilde) temp += '~';
    temp.append(digits, '0');
    for (size_t i = temp.size(); i > temp.size() - digits; --i, value >>= 4) temp[i - 1] = kHex[value & 15];
    return temp;
}

}  // namespace kestrin
