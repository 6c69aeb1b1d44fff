#include <windows.h>

#include "base/error.h"
#include "base/owned_win32.h"
#include "shell/autostart.h"

namespace kestrin {

namespace {

// The Run key, created with full access for a write or opened only to query it for a read;
// holds nothing when that fails.
OwnedKey OpenRunKey(bool create) {
    HKEY key = nullptr;
    const LONG rc =
        create ? RegCreateKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)
               : RegOpenKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_QUERY_VALUE, &key);
    return OwnedKey(rc == ERROR_SUCCESS ? key : nullptr);
}

bool ValueExists(HKEY key, const std::string& name) {
    DWORD type = 0, size = 0;
    return key && RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
}

}  // namespace

bool ReadAutostart(const std::string& valueName) {
    const OwnedKey key = OpenRunKey(/*create=*/false);
    return ValueExists(key.get(), valueName);
}

void WriteAutostart(const AutostartPlan& plan, const std::string& valueName, std::string_view exePath) {
    if (plan.deleteValue) {
        const OwnedKey key = OpenRunKey(/*create=*/true);
        // A value that cannot be deleted is left as it is; nothing to report.
        if (ValueExists(key.get(), valueName)) RegDeleteValueA(key.get(), valueName.c_str());
    }
    if (plan.writeValue) {
        const OwnedKey key = OpenRunKey(/*create=*/true);
        const std::string data = AutostartValueData(exePath);
        if (!key.get() ||
            RegSetValueExA(key.get(), valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                           static_cast<DWORD>(data.size() + 1)) != ERROR_SUCCESS)
            throw KestrinError(FormatText("Failed to set data for '%s'", valueName.c_str()));
    }
}

}  // namespace kestrin
