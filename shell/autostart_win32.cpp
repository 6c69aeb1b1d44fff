#include <windows.h>

#include "base/error.h"
#include "shell/autostart.h"

namespace kestrin {

namespace {

class RunKey {
public:
    explicit RunKey(bool create) {
        LONG rc = create ? RegCreateKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS,
                                           nullptr, &key_, nullptr)
                         : RegOpenKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_ALL_ACCESS, &key_);
        if (rc != ERROR_SUCCESS) key_ = nullptr;
    }
    ~RunKey() {
        if (key_) RegCloseKey(key_);
    }
    RunKey(const RunKey&) = delete;
    RunKey& operator=(const RunKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

bool ValueExists(HKEY key, const std::string& name) {
    DWORD type = 0, size = 0;
    return key && RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
}

}  // namespace

bool ReadAutostart(const std::string& valueName) {
    RunKey key(/*create=*/false);
    return ValueExists(key.get(), valueName);
}

void WriteAutostart(const AutostartPlan& plan, const std::string& valueName, std::string_view exePath) {
    if (plan.deleteValue) {
        RunKey key(/*create=*/true);
        // A value that cannot be deleted is left as it is; nothing to report.
        if (ValueExists(key.get(), valueName)) RegDeleteValueA(key.get(), valueName.c_str());
    }
    if (plan.writeValue) {
        RunKey key(/*create=*/true);
        const std::string data = AutostartValueData(exePath);
        if (!key.get() ||
            RegSetValueExA(key.get(), valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                           static_cast<DWORD>(data.size() + 1)) != ERROR_SUCCESS)
            throw KestrinError(FormatText("Failed to set data for '%s'", valueName.c_str()));
    }
}

}  // namespace kestrin
