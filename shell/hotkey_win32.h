// The global hotkey on the resident window, and the settings window's hotkey field.
#pragma once

#include <windows.h>

#include <cstdint>

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

    // Releases first; value 0 registers nothing. A refused registration is silent: the
    // combination may belong to another program.
    void Register(std::uint16_t value);
    // Only undoes what the last Register added.
    void Release();
    // Whether a WM_HOTKEY's wParam is ours (the id of the last Register, also after a release).
    bool IsOurs(WPARAM id) const { return id == static_cast<WPARAM>(id_); }

private:
    HWND target_;
    ATOM id_ = 0;
    bool added_ = false;
};

// The hotkey field: the rules for typing (a bare key or Shift+key becomes Shift+Ctrl+Alt+key).
void SetHotKeyControlRules(HWND hotKey);
void WriteHotKeyControl(HWND hotKey, std::uint16_t value);
std::uint16_t ReadHotKeyControl(HWND hotKey);

}  // namespace kestrin
