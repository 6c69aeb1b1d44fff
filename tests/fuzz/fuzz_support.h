// Shared by the fuzz targets: invariant checks that abort (libFuzzer then keeps the input as
// a crash artefact) with both sides printed, and the splitting of one input into fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/ini.h"

namespace fuzz {

// Control bytes and high bytes escaped, so a failing value can be pasted into a unit test.
inline std::string Show(std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c >= 0x7F) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
            out += "\"\"";  // ends the escape before a following hex digit
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}
inline std::string Show(const std::string& text) { return Show(std::string_view(text)); }
inline std::string Show(const char* text) { return Show(std::string_view(text)); }
inline std::string Show(const std::vector<std::string>& lines) {
    std::string out = "{";
    for (size_t i = 0; i < lines.size(); ++i) out += (i ? ", " : "") + Show(lines[i]);
    return out + "}";
}
inline std::string Show(const std::vector<int>& values) {
    std::string out = "{";
    for (size_t i = 0; i < values.size(); ++i) out += (i ? ", " : "") + std::to_string(values[i]);
    return out + "}";
}
template <typename T>
std::string Show(const T& value) {
    std::ostringstream out;
    out << +value;
    return out.str();
}

[[noreturn]] inline void Fail(const char* file, int line, const std::string& what) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what.c_str());
    std::fflush(stderr);
    std::abort();
}

template <typename A, typename B>
void CheckEq(const A& a, const B& b, const char* aText, const char* bText, const char* file, int line) {
    if (a == b) return;
    Fail(file, line, std::string(aText) + " == " + bText + "\n  left:  " + Show(a) + "\n  right: " + Show(b));
}

// A value that reads back as itself once written: the profile format drops leading and
// trailing blanks and one pair of enclosing quotes, and a read copy is cut.
inline bool ReadsBackAsWritten(std::string_view value) {
    if (value.size() > kestrin::kIniValueLimit) return false;
    if (!value.empty() && (kestrin::IsIniBlank(value.front()) || kestrin::IsIniBlank(value.back()))) return false;
    return !(value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]);
}

// The input as fields separated by `separator`; missing trailing fields are empty.
inline std::vector<std::string_view> Fields(const std::uint8_t* data, size_t size, std::string_view separator,
                                            size_t count) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> fields;
    while (fields.size() + 1 < count) {
        const size_t at = rest.find(separator);
        if (at == std::string_view::npos) break;
        fields.push_back(rest.substr(0, at));
        rest.remove_prefix(at + separator.size());
    }
    fields.push_back(rest);
    fields.resize(count);
    return fields;
}

}  // namespace fuzz

#define FUZZ_CHECK(condition) ((condition) ? (void)0 : ::fuzz::Fail(__FILE__, __LINE__, #condition))
#define FUZZ_CHECK_MSG(condition, message) \
    ((condition) ? (void)0 : ::fuzz::Fail(__FILE__, __LINE__, std::string(#condition) + ": " + (message)))
#define FUZZ_CHECK_EQ(a, b) ::fuzz::CheckEq((a), (b), #a, #b, __FILE__, __LINE__)
