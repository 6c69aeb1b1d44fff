#include "core/launch.h"

#include "base/ascii.h"
#include "base/lead_bytes.h"
#include "core/environment.h"

namespace kestrin {

namespace {

bool MatchesPlaceholderAt(std::string_view text, size_t pos) {
    return EqualsIgnoringAsciiCase(text.substr(pos, 5), "%usb%");
}

}  // namespace

std::string ExeDrive(std::string_view exePath) {
    if (exePath.size() >= 2 && exePath[1] == ':') return std::string(exePath.substr(0, 2));
    if (exePath.size() >= 2 && exePath[0] == '\\' && exePath[1] == '\\') {
        size_t serverEnd = FindCharOf(exePath, "\\", 2);
        if (serverEnd == std::string_view::npos) return std::string(exePath);
        size_t shareEnd = FindCharOf(exePath, "\\", serverEnd + 1);
        if (shareEnd == std::string_view::npos) return std::string(exePath);
        return std::string(exePath.substr(0, shareEnd));
    }
    return "";
}

std::string ExpandDrive(std::string_view text, std::string_view exeDrive) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '%' && MatchesPlaceholderAt(text, i)) {
            out += exeDrive;
            i += 5;
        } else {
            const size_t next = NextCharPos(text, i);
            out += text.substr(i, next - i);
            i = next;
        }
    }
    return out;
}

std::string PipeQuote(std::string_view text) {
    std::string out(text);
    for (size_t i = 0; i < out.size(); i = NextCharPos(out, i))
        if (out[i] == '|') out[i] = '"';
    return out;
}

WindowShow WindowShowFor(std::uint8_t showState) {
    switch (showState) {
    case kShowMaximized: return WindowShow::Maximized;
    case kShowMinimized: return WindowShow::Minimized;
    default: return WindowShow::Normal;
    }
}

std::string ExpandPath(std::string_view text, std::string_view exeDrive, const EnvironmentLookup& environment) {
    return ExpandEnvironment(ExpandDrive(text, exeDrive), environment);
}

LaunchRequest ComposeLaunch(const Item& item, std::string_view exeDrive, const EnvironmentLookup& environment) {
    LaunchRequest request;
    if (item.command.empty()) return request;
    request.launch = true;
    request.file = PipeQuote(ExpandPath(item.command, exeDrive, environment));
    request.parameters = PipeQuote(item.parameters);
    if (!item.directory.empty()) {
        request.hasDirectory = true;
        request.directory = PipeQuote(ExpandPath(item.directory, exeDrive, environment));
    }
    request.show = WindowShowFor(item.showState);
    return request;
}

}  // namespace kestrin
