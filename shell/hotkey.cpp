#include "shell/hotkey.h"

namespace kestrin {

namespace {

constexpr std::uint32_t kModAlt = 1, kModControl = 2, kModShift = 4;
constexpr unsigned kHotkeyfShift = 1, kHotkeyfControl = 2, kHotkeyfAlt = 4, kHotkeyfExt = 8;

// Keys that exist twice on a keyboard, once as an extended key: without the flag the control
// names the numeric-pad twin ("Num 8" for Up). Virtual-key codes.
bool IsExtendedKey(unsigned key) {
    enum : unsigned {
        kCancel = 0x03, kPageUp = 0x21, kDown = 0x28, kPrintScreen = 0x2C, kInsert = 0x2D, kDelete = 0x2E,
        kLeftWin = 0x5B, kApps = 0x5D, kDivide = 0x6F, kNumLock = 0x90,
    };
    return key == kCancel || (key >= kPageUp && key <= kDown) || (key >= kPrintScreen && key <= kDelete) ||
           (key >= kLeftWin && key <= kApps) || key == kDivide || key == kNumLock;
}

}  // namespace

Shortcut SplitShortcut(std::uint16_t value) {
    Shortcut shortcut{static_cast<std::uint16_t>(value & kHotkeyKeyMask), 0};
    if (value & kHotkeyShift) shortcut.modifiers |= kModShift;
    if (value & kHotkeyAlt) shortcut.modifiers |= kModAlt;
    if (value & kHotkeyCtrl) shortcut.modifiers |= kModControl;
    return shortcut;
}

std::uint16_t HotkeyFromStored(long long stored) {
    return static_cast<std::uint16_t>(static_cast<unsigned long long>(stored) & 0xFFFFu);
}

std::uint16_t HotkeyToControlWord(std::uint16_t value) {
    unsigned flags = 0;
    if (value & kHotkeyShift) flags |= kHotkeyfShift;
    if (value & kHotkeyCtrl) flags |= kHotkeyfControl;
    if (value & kHotkeyAlt) flags |= kHotkeyfAlt;
    if (IsExtendedKey(value & 0xFFu)) flags |= kHotkeyfExt;
    return static_cast<std::uint16_t>((value & 0xFFu) | (flags << 8));
}

std::uint16_t HotkeyFromControlWord(std::uint16_t hkmResult) {
    unsigned flags = hkmResult >> 8;
    unsigned value = hkmResult & 0xFFu;
    if (flags & kHotkeyfShift) value |= kHotkeyShift;
    if (flags & kHotkeyfControl) value |= kHotkeyCtrl;
    if (flags & kHotkeyfAlt) value |= kHotkeyAlt;
    return static_cast<std::uint16_t>(value);
}

}  // namespace kestrin
