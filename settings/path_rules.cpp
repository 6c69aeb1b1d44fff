#include "settings/path_rules.h"

#include "base/lead_bytes.h"

namespace kestrin {

namespace {
constexpr std::string_view kHomePagePath = "/tray-launcher/";
}  // namespace

std::optional<std::string> DriveToPlaceholder(std::string_view text) {
    if (text.size() < 2 || text[1] != ':') return std::nullopt;
    return "%usb%" + std::string(text.substr(2));
}

std::string FolderPartOf(std::string_view path) {
    const size_t last = FindLastCharOf(path, "\\:");
    return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last + 1));
}

FileDialogStart FileDialogStartFor(std::string_view expanded, bool isFolder) {
    if (isFolder) return {std::string(expanded), std::nullopt};
    FileDialogStart start{FolderPartOf(expanded), std::nullopt};
    const std::string_view name = expanded.substr(start.initialDir.size());
    if (!name.empty()) start.fileName = std::string(name);
    return start;
}

std::string ProgramFolderForDialogs(std::string_view exePath) {
    std::string folder = FolderPartOf(exePath);
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

std::string HomePageAddress(std::string_view labelText) { return std::string(labelText) + std::string(kHomePagePath); }

}  // namespace kestrin
