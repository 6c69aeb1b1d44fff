#include "shell/hotkey_win32.h"

#include <commctrl.h>

#include "shell/hotkey.h"

namespace kestrin {

namespace {
constexpr const char* kHotkeyAtomName = "MyHotkey1";
}  // namespace

void LauncherHotkey::Register(std::uint16_t value) {
    Release();
    if (value == 0) return;
    const Shortcut shortcut = SplitShortcut(value);
    id_ = GlobalAddAtomA(kHotkeyAtomName);
    added_ = true;
    // Refused when another program holds the combination; the icon still works.
    RegisterHotKey(target_, id_, shortcut.modifiers, shortcut.key);
}

void LauncherHotkey::Release() {
    if (!added_) return;
    added_ = false;
    UnregisterHotKey(target_, id_);
    GlobalDeleteAtom(id_);
}

void SetHotKeyControlRules(HWND hotKey) {
    SendMessageA(hotKey, HKM_SETRULES, kHotkeyRulesInvalid, MAKELPARAM(kHotkeyRulesModifiers, 0));
}

void WriteHotKeyControl(HWND hotKey, std::uint16_t value) {
    SendMessageA(hotKey, HKM_SETHOTKEY, HotkeyToControlWord(value), 0);
}

std::uint16_t ReadHotKeyControl(HWND hotKey) {
    return HotkeyFromControlWord(static_cast<std::uint16_t>(SendMessageA(hotKey, HKM_GETHOTKEY, 0, 0)));
}

}  // namespace kestrin
