#include "shell/hotkey.h"

namespace kestrin {

namespace {

constexpr std::uint32_t kModAlt = 1, kModControl = 2, kModShift = 4;
constexpr unsigned kHotkeyfShift = 1, kHotkeyfControl = 2, kHotkeyfAlt = 4;

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
