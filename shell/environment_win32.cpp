#include "shell/environment_win32.h"

#include <windows.h>

namespace kestrin {

EnvironmentLookup ProcessEnvironment() {
    return [](std::string_view name) -> std::optional<std::string> {
        const std::string key(name);
        std::string value(256, '\0');
        for (;;) {
            SetLastError(ERROR_SUCCESS);
            const DWORD length = GetEnvironmentVariableA(key.c_str(), &value[0], static_cast<DWORD>(value.size()));
            if (length == 0) {
                // Set but empty expands to nothing; not set stays as typed.
                if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
                return std::string();
            }
            if (length < value.size()) {
                value.resize(length);
                return value;
            }
            value.resize(length);  // the size it needs, terminator included
        }
    };
}

const char* LaunchVerbForHeldKeys() { return LaunchVerbFor(GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0); }

}  // namespace kestrin
