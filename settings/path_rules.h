// The rules behind the path fields' helper buttons: the "usb" rewrite, where the file and
// folder dialogs start, and the home-page address.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrin {

// A path whose second character is ':' gets "%usb%" in place of its first two characters
// (the first is not checked: "1:abc" becomes "%usb%abc"); nullopt leaves the field alone,
// as for network and relative paths and a path that holds the placeholder already.
std::optional<std::string> DriveToPlaceholder(std::string_view text);

// Everything up to and including the last '\' or ':', empty when there is neither.
std::string FolderPartOf(std::string_view path);

// Where the file dialog starts for an expanded field: a folder opens as itself; any other
// path opens in its folder with its name proposed. No fileName: keep the dialog's last one.
struct FileDialogStart {
    std::string initialDir;
    std::optional<std::string> fileName;
};
FileDialogStart FileDialogStartFor(std::string_view expanded, bool isFolder);

// The program's folder as the item-set dialogs start in it: without its trailing backslash,
// so a drive's root is the bare "E:".
std::string ProgramFolderForDialogs(std::string_view exePath);

// The page the home-page label opens: its text plus the launcher's page.
std::string HomePageAddress(std::string_view labelText);

}  // namespace kestrin
