// What the settings window asks of the rest of the program. The window runs its own
// opening, OK and Cancel; the items, the hotkey and the autostart belong to the resident part.
#pragma once

#include <cstdint>
#include <string>

#include "shell/autostart.h"

namespace kestrin {

class SettingsHost {
public:
    virtual ~SettingsHost() = default;
    // The global hotkey is off while the window is open, so the hotkey field can take it.
    virtual void ReleaseHotkey() = 0;
    virtual bool AutostartIsOn() = 0;
    virtual void ApplyAutostart(const AutostartPlan& plan) = 0;
    // Both throw KestrinError with the user's text. SaveItems writes the edited tree and the
    // hotkey; LoadItems reads the ConfigFile back into the window (and registers the hotkey).
    virtual void SaveItems(std::uint16_t hotkey) = 0;
    virtual void LoadItems() = 0;
    // Appends the item set in `setFile` to the ConfigFile, without reloading. A set with
    // nothing to import leaves the file as it is; throws "Unable to write to <path>".
    virtual void ImportItemSet(const std::string& setFile) = 0;
};

}  // namespace kestrin
