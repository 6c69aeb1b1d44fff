// What the settings window asks of the rest of the program. The window runs its own
// opening, OK and Cancel; the loaded state, the hotkey registration and the autostart value
// belong to the resident part.
#pragma once

#include <cstdint>
#include <string>

#include "core/items.h"
#include "core/tree.h"
#include "shell/autostart.h"
#include "shell/hotkey.h"

namespace kestrin {

// What a load produces, owned by the resident program and edited in place by the settings
// window: the items, their tree, the hotkey and whether the autostart value was there when
// the window last read or wrote it.
struct ProgramState {
    ItemStore store;
    Tree tree;
    std::uint16_t hotkey = kDefaultHotkey;
    bool autostartWasOn = false;
};

class SettingsHost {
public:
    virtual ~SettingsHost() = default;
    virtual ProgramState& State() = 0;
    virtual const std::string& ConfigPath() const = 0;
    // The global hotkey is off while the window is open, so the hotkey field can take it.
    virtual void ReleaseHotkey() = 0;
    virtual bool AutostartIsOn() = 0;
    virtual void ApplyAutostart(const AutostartPlan& plan) = 0;
    // Both throw KestrinError with the user's text. SaveState writes the state to the
    // ConfigFile; ReloadState reads it back into the state (the window is told) and
    // registers the hotkey.
    virtual void SaveState() = 0;
    virtual void ReloadState() = 0;
};

}  // namespace kestrin
