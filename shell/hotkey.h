// The 16-bit hotkey stored in the ConfigFile, with the virtual-key code in the
// low 13 bits and 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt; 0 means no hotkey. These split it
// for RegisterHotKey and for the hotkey control; the Win32 side maps the modifiers to its flags.
#pragma once

#include <cstdint>
#include <string>

namespace kestrin {

constexpr std::uint16_t kHotkeyShift = 0x2000;
constexpr std::uint16_t kHotkeyCtrl = 0x4000;
constexpr std::uint16_t kHotkeyAlt = 0x8000;
constexpr std::uint16_t kHotkeyKeyMask = 0x1FFF;

// Shift+Ctrl+Alt+Up.
constexpr std::uint16_t kDefaultHotkey = 57382;

// The combination RegisterHotKey takes.
struct Shortcut {
    std::uint16_t key;
    bool shift, ctrl, alt;
};

Shortcut SplitShortcut(std::uint16_t value);

// Only the low 16 bits of the stored integer count, so -8154 and 57382 are the same hotkey.
std::uint16_t HotkeyFromStored(long long stored);

// What the hotkey control holds: one byte of key, the modifiers, and whether the key is the
// extended one of a pair (arrows, Insert, Delete, Home, End, ...), without which the control
// names its numeric-pad twin.
struct HotkeyControlValue {
    std::uint8_t key;
    bool shift, ctrl, alt, extended;
};

// The hotkey as the user reads it, modifiers first: "Shift+Ctrl+Alt+Up". `keyName` is the
// platform's name of the key; empty, the key's number stands in for it.
std::string HotkeyName(std::uint16_t value, const std::string& keyName);
// The tray balloon's text when another program holds the hotkey.
std::string HotkeyInUseText(const std::string& hotkeyName);

// Only the key's low byte reaches the control.
HotkeyControlValue HotkeyToControl(std::uint16_t value);

// The extended-key flag is dropped, so reading back never changes the stored value.
std::uint16_t HotkeyFromControl(const HotkeyControlValue& shown);

}  // namespace kestrin
