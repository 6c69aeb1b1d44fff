// Start with Windows: one REG_SZ value named after the application title in the current
// user's Run key. The settings window reads whether it exists when it opens and writes or
// deletes it on OK, comparing the check box with what it last saw there.
#pragma once

#include <string>
#include <string_view>

namespace kestrin {

constexpr const char* kRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The data written for the executable's path. A path with a blank is quoted: unquoted, the
// system may start a program named after the path's first word instead.
std::string AutostartValueData(std::string_view exePath);

struct AutostartPlan {
    bool deleteValue = false;
    bool writeValue = false;
    bool wasOnAfter = false;  // whether the value exists once the plan has been carried out
};
// What OK does to the registry for the check box state and whether the value was last seen.
AutostartPlan PlanAutostart(bool checked, bool wasOn);

// Win32 side (shell/autostart_win32.cpp).
bool ReadAutostart(const std::string& valueName);
// Carries out the plan; throws KestrinError "Failed to set data for '%s'" when the value
// cannot be written. A failing delete is ignored.
void WriteAutostart(const AutostartPlan& plan, const std::string& valueName, std::string_view exePath);

}  // namespace kestrin
