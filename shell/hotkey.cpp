#include "shell/hotkey.h"

namespace kestrin {

namespace {

// Keys that exist twice on a keyboard, once as an extended key. Virtual-key codes, as the
// stored value holds them.
bool IsExtendedKey(unsigned key) {
    enum : unsigned {
        kCancel = 0x03,
        kPageUp = 0x21,
        kDown = 0x28,
        kPrintScreen = 0x2C,
        kInsert = 0x2D,
        kDelete = 0x2E,
        kLeftWin = 0x5B,
        kApps = 0x5D,
        kDivide = 0x6F,
        kNumLock = 0x90,
    };
    return key == kCancel || (key >= kPageUp && key <= kDown) || (key >= kPrintScreen && key <= kDelete) ||
           (key >= kLeftWin && key <= kApps) || key == kDivide || key == kNumLock;
}

}  // namespace

Shortcut SplitShortcut(std::uint16_t value) {
    return {static_cast<std::uint16_t>(value & kHotkeyKeyMask), (value & kHotkeyShift) != 0, (value & kHotkeyCtrl) != 0,
            (value & kHotkeyAlt) != 0};
}

std::uint16_t HotkeyFromStored(long long stored) {
    return static_cast<std::uint16_t>(static_cast<unsigned long long>(stored) & 0xFFFFu);
}

std::string HotkeyName(std::uint16_t value, const std::string& keyName) {
    const Shortcut shortcut = SplitShortcut(value);
    std::string name;
    if (shortcut.shift) name += "Shift+";
    if (shortcut.ctrl) name += "Ctrl+";
    if (shortcut.alt) name += "Alt+";
    return name + (keyName.empty() ? "Key " + std::to_string(shortcut.key) : keyName);
}

std::string HotkeyInUseText(const std::string& hotkeyName) {
    return hotkeyName + " is in use by another program. Choose another hotkey in Settings.";
}

HotkeyControlValue HotkeyToControl(std::uint16_t value) {
    const auto key = static_cast<std::uint8_t>(value & 0xFFu);
    return {key, (value & kHotkeyShift) != 0, (value & kHotkeyCtrl) != 0, (value & kHotkeyAlt) != 0,
            IsExtendedKey(key)};
}

std::uint16_t HotkeyFromControl(const HotkeyControlValue& shown) {
    unsigned value = shown.key;
    if (shown.shift) value |= kHotkeyShift;
    if (shown.ctrl) value |= kHotkeyCtrl;
    if (shown.alt) value |= kHotkeyAlt;
    return static_cast<std::uint16_t>(value);
}

}  // namespace kestrin
