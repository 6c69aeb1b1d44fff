// The global hotkey on the resident window, and the settings window's hotkey field.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "shell/hotkey.h"

namespace kestrin {

// The MOD_ flags RegisterHotKey takes for the shortcut's modifiers.
UINT HotKeyModifierFlags(const Shortcut& shortcut);

class LauncherHotkey {
public:
    explicit LauncherHotkey(HWND target) : target_(target) {}
    ~LauncherHotkey() { Release(); }
    LauncherHotkey(const LauncherHotkey&) = delete;
    LauncherHotkey& operator=(const LauncherHotkey&) = delete;

    // Releases first; value 0 registers nothing. False when the system refused the
    // combination (another program holds it).
    bool Register(std::uint16_t value);
    // Only undoes what the last Register added.
    void Release();
    // Whether a WM_HOTKEY's wParam is ours (the id of the last Register, also after a release).
    bool IsOurs(WPARAM id) const { return id == static_cast<WPARAM>(id_); }

private:
    HWND target_;
    ATOM id_ = 0;
    bool added_ = false;
};

// The platform's name of the hotkey's key ("Up"), empty when it has none.
std::string HotkeyKeyName(std::uint16_t value);

// The hotkey field: the rules for typing (a bare key or Shift+key becomes Shift+Ctrl+Alt+key).
void SetHotKeyControlRules(HWND hotKey);
void WriteHotKeyControl(HWND hotKey, std::uint16_t value);
std::uint16_t ReadHotKeyControl(HWND hotKey);

}  // namespace kestrin
