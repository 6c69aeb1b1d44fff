#include "settings/drop_rules.h"

#include <algorithm>

#include "base/ascii.h"
#include "base/lead_bytes.h"
#include "settings/path_rules.h"

namespace kestrin {

namespace {

std::string_view WithoutTrailingBackslash(std::string_view path) {
    // A trailing '\' is never a trail byte when it ends a path the shell handed over.
    while (path.size() > 1 && path.back() == '\\') path.remove_suffix(1);
    return path;
}

std::string_view NameOf(std::string_view path) {
    path = WithoutTrailingBackslash(path);
    return path.substr(FolderPartOf(path).size());
}

std::string_view ExtensionOf(std::string_view name) {
    const size_t dot = FindLastCharOf(name, ".");
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

// Arguments are stored with pipes for quotes, as launching turns them back.
std::string PipesForQuotes(std::string_view text) {
    std::string out(text);
    for (size_t i = 0; i < out.size(); i = NextCharPos(out, i))
        if (out[i] == '"') out[i] = '|';
    return out;
}

std::uint8_t ShowStateOf(int showCommand) {
    switch (showCommand) {
    case 3: return kShowMaximized;
    case 2:
    case 6:
    case 7: return kShowMinimized;
    default: return kShowNormal;
    }
}

}  // namespace

DroppedThing::Kind FileKindOf(std::string_view path) {
    const std::string_view extension = ExtensionOf(NameOf(path));
    if (EqualsIgnoringAsciiCase(extension, ".lnk")) return DroppedThing::Kind::Shortcut;
    if (EqualsIgnoringAsciiCase(extension, ".url")) return DroppedThing::Kind::InternetShortcut;
    return DroppedThing::Kind::File;
}

std::string DroppedTitle(const DroppedThing& thing) {
    if (thing.kind == DroppedThing::Kind::Drive) {
        if (!thing.driveLabel.empty()) return thing.driveLabel;
        return std::string(thing.path.substr(0, std::min<size_t>(2, thing.path.size())));
    }
    const std::string_view name = NameOf(thing.path);
    if (thing.kind == DroppedThing::Kind::Folder) return std::string(name);
    const std::string_view extension = ExtensionOf(name);
    if (extension.size() == name.size()) return std::string(name);
    return std::string(name.substr(0, name.size() - extension.size()));
}

std::string TravellingDrive(std::string_view exeDrive, std::string_view windowsDrive) {
    if (exeDrive.size() != 2 || exeDrive[1] != ':') return {};
    if (EqualsIgnoringAsciiCase(exeDrive, windowsDrive.substr(0, 2))) return {};
    return std::string(exeDrive);
}

std::string TravellingPath(std::string_view path, std::string_view travellingDrive) {
    if (travellingDrive.empty() || !EqualsIgnoringAsciiCase(path.substr(0, 2), travellingDrive))
        return std::string(path);
    return DriveToPlaceholder(path).value_or(std::string(path));
}

Item DroppedItem(const DroppedThing& thing, const std::optional<ShortcutFields>& shortcut,
                 std::string_view travellingDrive) {
    Item item;
    if (!shortcut || !shortcut->resolved || shortcut->target.empty()) {
        item.command = TravellingPath(thing.path, travellingDrive);
        return item;
    }
    item.command = TravellingPath(shortcut->target, travellingDrive);
    item.parameters = PipesForQuotes(shortcut->arguments);
    item.directory = TravellingPath(shortcut->workingDirectory, travellingDrive);
    item.showState = ShowStateOf(shortcut->showCommand);
    if (!shortcut->iconLocation.empty() && shortcut->iconIndex >= 0 && shortcut->iconIndex <= 255) {
        item.iconFile = TravellingPath(shortcut->iconLocation, travellingDrive);
        item.iconIndex = static_cast<std::uint8_t>(shortcut->iconIndex);
    }
    return item;
}

}  // namespace kestrin
