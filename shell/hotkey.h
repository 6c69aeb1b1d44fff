// HotkeyValue: the 16-bit hotkey stored in the ConfigFile, with the virtual-key code in the
// low 13 bits and 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt; 0 means no hotkey. These are the
// conversions to RegisterHotKey and to the hotkey control; the Win32 side only forwards them.
#pragma once

#include <cstdint>

namespace kestrin {

constexpr std::uint16_t kHotkeyShift = 0x2000;
constexpr std::uint16_t kHotkeyCtrl = 0x4000;
constexpr std::uint16_t kHotkeyAlt = 0x8000;
constexpr std::uint16_t kHotkeyKeyMask = 0x1FFF;

// Shift+Ctrl+Alt+Up.
constexpr std::uint16_t kDefaultHotkey = 57382;

// HKM_SETRULES: no bare key and no Shift-alone key (HKCOMB_NONE | HKCOMB_S); such typing
// gets Shift+Ctrl+Alt instead.
constexpr unsigned kHotkeyRulesInvalid = 3, kHotkeyRulesModifiers = 7;

struct Shortcut {
    std::uint16_t key;
    std::uint32_t modifiers;  // MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4
};

Shortcut SplitShortcut(std::uint16_t value);

// Only the low 16 bits of the stored integer count, so -8154 and 57382 are the same hotkey.
std::uint16_t HotkeyFromStored(long long stored);

// wParam for HKM_SETHOTKEY: low byte of the key, HOTKEYF_ flags in the high byte, with the
// extended-key flag for the keys that carry it (arrows, Insert, Delete, Home, End, ...).
std::uint16_t HotkeyToControlWord(std::uint16_t value);

// From the HKM_GETHOTKEY result; the extended-key flag is dropped.
std::uint16_t HotkeyFromControlWord(std::uint16_t hkmResult);

}  // namespace kestrin
