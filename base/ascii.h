// Letter case of ASCII letters only. Names and paths are compared this way where the platform
// does so too (profile names, drive letters, "%usb%"): it leaves every other byte alone, the
// bytes of double-byte characters included.
#pragma once

#include <string_view>

namespace kestrin {

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

}  // namespace kestrin
