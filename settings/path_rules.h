// The rules behind the path fields' helper buttons and the file dialogs: the "usb" rewrite,
// where the file and folder dialogs start and what name they propose, the export's target
// check, and the home-page address.
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

// An expanded path field as the file dialog takes it: without the pipes and quotes that pipe
// quoting puts around a path with blanks ("|C:\My Apps\a.exe|"), and without blanks around it.
std::string FileDialogPath(std::string_view expanded);

// Where the file dialog starts for a FileDialogPath: a folder opens as itself; any other path
// opens in its folder (up to its last '\', '/' or drive colon) with its name proposed. A text
// that is no file path (a URL, a name with characters no file name holds) proposes no name
// (empty) and leaves the initial folder alone (empty). No fileName: keep the dialog's last one.
struct FileDialogStart {
    std::string initialDir;
    std::optional<std::string> fileName;
};
FileDialogStart FileDialogStartFor(std::string_view path, bool isFolder);

// The name Export proposes for an item's title: every '\', '/', ':', '*', '?', '"', '<', '>',
// '|' and control character becomes '_', trailing dots and blanks are dropped. Empty: no name.
std::string ExportFileName(std::string_view title);

// Whether two full paths name the same file as Windows compares their spelling: ASCII
// letters in any case, '/' as '\'.
bool IsSameFilePath(std::string_view a, std::string_view b);

// The program's folder as the item-set dialogs start in it: without its trailing backslash,
// so a drive's root is the bare "E:".
std::string ProgramFolderForDialogs(std::string_view exePath);

// The page the home-page label opens: its text plus the launcher's page.
std::string HomePageAddress(std::string_view labelText);

}  // namespace kestrin
