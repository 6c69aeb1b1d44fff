#include "core/environment.h"

#include "base/lead_bytes.h"

namespace kestrin {

std::string ExpandEnvironment(std::string_view text, const EnvironmentLookup& lookup) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '%') {
            const size_t next = NextCharPos(text, i);
            out += text.substr(i, next - i);
            i = next;
            continue;
        }
        // '%' is below 0x40, so it is never the trail byte of a double-byte character.
        const size_t close = FindCharOf(text, "%", i + 1);
        if (close == std::string_view::npos) {
            out += text.substr(i);
            break;
        }
        const std::string_view name = text.substr(i + 1, close - i - 1);
        std::optional<std::string> value;
        if (!name.empty() && lookup) value = lookup(name);
        // An unknown name is kept whole, closing '%' included, as Windows does.
        if (value) out += *value;
        else out += text.substr(i, close + 1 - i);
        i = close + 1;
    }
    return out;
}

const char* LaunchVerbFor(bool ctrl, bool shift) { return ctrl && shift ? "runas" : "open"; }

}  // namespace kestrin
