// The integer rules: ParseIniInteger and ParseIniIntegerText against a digit-string model of
// the profile reading (spaces, sign, "$"/"x"/"0x" hexadecimal, 32-bit range), formatting round
// trips, and the byte and hotkey conversions that keep only the low bits.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "core/ini.h"
#include "core/items.h"
#include "fuzz_support.h"
#include "settings/item_form.h"
#include "shell/hotkey.h"

using namespace kestrin;

namespace {

std::optional<int> Model(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return std::nullopt;
    const std::string_view digits = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
    if (text.find_first_not_of(digits) != std::string_view::npos) return std::nullopt;
    const size_t first = text.find_first_not_of('0');
    const std::string_view significant = first == std::string_view::npos ? "" : text.substr(first);
    if (significant.size() > (base == 16 ? 8u : 10u)) return std::nullopt;
    const std::uint64_t value = significant.empty() ? 0 : std::stoull(std::string(significant), nullptr, base);
    const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
    if (value > limit) return std::nullopt;
    const std::uint32_t bits = negative ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    int result;
    std::memcpy(&result, &bits, sizeof result);
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<int> expected = Model(text);
    FUZZ_CHECK_EQ(ParseIniInteger(text, 12345), expected ? *expected : 12345);
    FUZZ_CHECK_EQ(ParseIniInteger(text, -1), expected ? *expected : -1);
    const std::optional<int> typed = ParseIniIntegerText(text);
    FUZZ_CHECK_EQ(typed.has_value(), expected.has_value());
    if (typed) FUZZ_CHECK_EQ(*typed, *expected);

    // Any 32-bit value read from its decimal and hexadecimal forms.
    std::uint64_t raw = 0;
    std::memcpy(&raw, data, size < sizeof raw ? size : sizeof raw);
    const std::uint32_t bits = static_cast<std::uint32_t>(raw);
    int value;
    std::memcpy(&value, &bits, sizeof value);
    char hex[32];
    std::snprintf(hex, sizeof hex, "  $%X", bits);
    FUZZ_CHECK_EQ(ParseIniInteger(std::to_string(value), 7), value);
    FUZZ_CHECK_EQ(ParseIniInteger(hex, 7), value);
    std::snprintf(hex, sizeof hex, "0x%08x", bits);
    FUZZ_CHECK_EQ(ParseIniInteger(hex, 7), value);

    // Byte fields and the hotkey keep only their low bits, whatever was stored.
    const long long stored = static_cast<long long>(raw);
    const std::uint8_t byte = LowByte(stored);
    FUZZ_CHECK_EQ(LowByte(stored - byte), 0);
    FUZZ_CHECK_EQ(LowByte(byte), byte);
    const std::uint16_t hotkey = HotkeyFromStored(stored);
    FUZZ_CHECK_EQ(HotkeyFromStored(stored - hotkey), 0);
    FUZZ_CHECK_EQ(HotkeyFromStored(hotkey), hotkey);
    FUZZ_CHECK_EQ(HotkeyFromStored(static_cast<long long>(static_cast<std::int16_t>(hotkey))), hotkey);

    const Shortcut shortcut = SplitShortcut(hotkey);
    FUZZ_CHECK_EQ(static_cast<unsigned>(shortcut.key | (shortcut.shift ? kHotkeyShift : 0) |
                                        (shortcut.ctrl ? kHotkeyCtrl : 0) | (shortcut.alt ? kHotkeyAlt : 0)),
                  static_cast<unsigned>(hotkey));
    // The control holds the low key byte and the modifiers; reading back gives exactly those.
    const HotkeyControlValue shown = HotkeyToControl(hotkey);
    FUZZ_CHECK_EQ(shown.key, static_cast<std::uint8_t>(hotkey & 0xFF));
    FUZZ_CHECK_EQ(HotkeyFromControl(shown), static_cast<std::uint16_t>(hotkey & ~0x1F00u));
    HotkeyControlValue flipped = shown;
    flipped.extended = !shown.extended;
    FUZZ_CHECK_EQ(HotkeyFromControl(flipped), HotkeyFromControl(shown));
    return 0;
}
