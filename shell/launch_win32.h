// Starting an item through the shell: "open", or "runas" for the administrator.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "core/items.h"

namespace kestrin {

// The running executable's full path, however long.
std::string ExecutablePath();

// LaunchItem: hands the item's fields, as ComposeLaunch prepares them with the process's
// environment, to ShellExecuteA with the verb, on a thread of its own: the call returns at
// once. An empty Command does nothing; the shell's result is not looked at (a missing file is
// the shell's to report, the launcher goes on). The caller hands on its right to the
// foreground first.
void LaunchItem(const Item& item, std::string_view exeDrive, const char* verb = "open");

}  // namespace kestrin
