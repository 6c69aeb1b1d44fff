// The global hotkey's registration as other programs see it: the atom "MyHotkey1" exists
// exactly while a hotkey is registered, and a released combination is free for others at
// once. Prints "PASS name" or "FAIL name: why" per check.
#include <windows.h>

#include <cstdio>
#include <string>

#include "shell/hotkey.h"
#include "shell/hotkey_win32.h"
#include "tests/wine/check.h"

using namespace kestrin;

namespace {

HWND MakeWindow() {
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// Whether another window could take the combination now.
bool CombinationFree(std::uint16_t value) {
    HWND other = MakeWindow();
    const Shortcut s = SplitShortcut(value);
    const bool free = RegisterHotKey(other, 0x1234, HotKeyModifierFlags(s), s.key) != FALSE;
    if (free) UnregisterHotKey(other, 0x1234);
    DestroyWindow(other);
    return free;
}

}  // namespace

int main() {
    HWND target = MakeWindow();
    // Ctrl+Alt+F11: unlikely to be held by anything else in the test prefix.
    const std::uint16_t value = kHotkeyCtrl | kHotkeyAlt | VK_F11;
    {
        LauncherHotkey hotkey(target);
        hotkey.Register(value);
        Check(GlobalFindAtomA("MyHotkey1") != 0, "registration_adds_the_atom", "atom not found");
        Check(!CombinationFree(value), "registered_combination_is_taken", "another window could register it");

        hotkey.Register(value);  // a reload registers again: still one atom reference
        hotkey.Release();
        Check(GlobalFindAtomA("MyHotkey1") == 0, "release_after_reload_leaves_no_atom", "atom still there");
        Check(CombinationFree(value), "released_combination_is_free", "still taken");

        hotkey.Release();  // nothing added since the last release: nothing to undo
        hotkey.Register(0);
        Check(GlobalFindAtomA("MyHotkey1") == 0, "value_zero_registers_nothing", "atom added");

        hotkey.Register(value);
    }
    Check(CombinationFree(value) && GlobalFindAtomA("MyHotkey1") == 0, "end_of_program_frees_the_combination",
          "combination or atom left behind");

    HWND control = CreateWindowExA(0, "msctls_hotkey32", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    const struct {
        std::uint16_t written, read;
    } cases[] = {{57382, 57382}, {0xC026, 0xC026}, {112, 112}, {0, 0}, {0x2000 | 0x141, 0x2000 | 0x41}};
    bool roundTrips = true;
    std::string why;
    for (const auto& c : cases) {
        WriteHotKeyControl(control, c.written);
        const std::uint16_t read = ReadHotKeyControl(control);
        if (read != c.read) {
            roundTrips = false;
            why += std::to_string(c.written) + "->" + std::to_string(read) + " ";
        }
    }
    Check(roundTrips, "hotkey_control_keeps_the_low_key_byte_and_modifiers", why);
    DestroyWindow(control);
    DestroyWindow(target);
    return CheckExitCode();
}
