#include "shell/hotkey_win32.h"

#include <commctrl.h>

namespace kestrin {

namespace {

constexpr const char* kHotkeyAtomName = "MyHotkey1";

// HKM_SETHOTKEY's wParam: the key in the low byte, HOTKEYF_ flags in the high byte.
WPARAM ControlWord(const HotkeyControlValue& shown) {
    BYTE flags = 0;
    if (shown.shift) flags |= HOTKEYF_SHIFT;
    if (shown.ctrl) flags |= HOTKEYF_CONTROL;
    if (shown.alt) flags |= HOTKEYF_ALT;
    if (shown.extended) flags |= HOTKEYF_EXT;
    return MAKEWORD(shown.key, flags);
}

HotkeyControlValue FromControlWord(WORD word) {
    const BYTE flags = HIBYTE(word);
    return {LOBYTE(word), (flags & HOTKEYF_SHIFT) != 0, (flags & HOTKEYF_CONTROL) != 0, (flags & HOTKEYF_ALT) != 0,
            (flags & HOTKEYF_EXT) != 0};
}

}  // namespace

UINT HotKeyModifierFlags(const Shortcut& shortcut) {
    UINT flags = 0;
    if (shortcut.shift) flags |= MOD_SHIFT;
    if (shortcut.ctrl) flags |= MOD_CONTROL;
    if (shortcut.alt) flags |= MOD_ALT;
    return flags;
}

bool LauncherHotkey::Register(std::uint16_t value) {
    Release();
    if (value == 0) return true;
    const Shortcut shortcut = SplitShortcut(value);
    id_ = GlobalAddAtomA(kHotkeyAtomName);
    added_ = true;
    // Refused when another program holds the combination; the icon still works.
    return RegisterHotKey(target_, id_, HotKeyModifierFlags(shortcut), shortcut.key) != FALSE;
}

std::string HotkeyKeyName(std::uint16_t value) {
    const HotkeyControlValue key = HotkeyToControl(value);
    // The scan code names the key; the extended flag tells an arrow from its numeric-pad twin.
    const UINT scan = MapVirtualKeyA(key.key, MAPVK_VK_TO_VSC);
    const LONG lp = static_cast<LONG>((scan << 16) | (key.extended ? 1u << 24 : 0u));
    char name[64] = {};
    const int length = scan ? GetKeyNameTextA(lp, name, sizeof name) : 0;
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

void LauncherHotkey::Release() {
    if (!added_) return;
    added_ = false;
    UnregisterHotKey(target_, id_);
    GlobalDeleteAtom(id_);
}

void SetHotKeyControlRules(HWND hotKey) {
    // A bare key or Shift+key is not a usable global hotkey; the control turns it into
    // Shift+Ctrl+Alt+key as it is typed.
    SendMessageA(hotKey, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                 MAKELPARAM(HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
}

void WriteHotKeyControl(HWND hotKey, std::uint16_t value) {
    SendMessageA(hotKey, HKM_SETHOTKEY, ControlWord(HotkeyToControl(value)), 0);
}

std::uint16_t ReadHotKeyControl(HWND hotKey) {
    return HotkeyFromControl(FromControlWord(LOWORD(SendMessageA(hotKey, HKM_GETHOTKEY, 0, 0))));
}

}  // namespace kestrin
