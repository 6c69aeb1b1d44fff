// What a thing dropped onto the settings tree becomes: its title and the fields of its new
// Program/Command entry, with paths on Kestrin's own removable drive stored as "%usb%".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/items.h"

namespace kestrin {

// What the shell says about a dropped path.
struct DroppedThing {
    enum class Kind { File, Folder, Drive, Shortcut, InternetShortcut };
    Kind kind = Kind::File;
    std::string path;        // full path; a drive as "E:\"
    std::string driveLabel;  // a drive's volume label, may be empty
};

// The kind a path's name says, for a path that is not a folder: ".lnk" is a shortcut, ".url"
// an Internet shortcut (either case).
DroppedThing::Kind FileKindOf(std::string_view path);

// What a shortcut (.lnk or .url) says, as read; `resolved` false when it could not be read.
struct ShortcutFields {
    bool resolved = false;
    std::string target;  // a path, or the URL
    std::string arguments;
    std::string workingDirectory;
    int showCommand = 1;  // the shell's show command: 3 maximized, 2 and 7 minimized
    std::string iconLocation;
    int iconIndex = 0;
};

// The title: a file's or shortcut's name without its extension (a name that is all
// extension stays whole), a folder's name, a drive's label or else its letter ("E:").
std::string DroppedTitle(const DroppedThing& thing);

// Where "%usb%" applies: Kestrin's drive when it is a drive letter other than the Windows
// drive; empty otherwise.
std::string TravellingDrive(std::string_view exeDrive, std::string_view windowsDrive);
// A path on the travelling drive with "%usb%" in place of its letter; other paths unchanged.
std::string TravellingPath(std::string_view path, std::string_view travellingDrive);

// The new entry's row. A shortcut takes its fields (arguments in pipe quoting, an icon index
// outside 0..255 drops the icon location); one that could not be resolved keeps the
// shortcut file itself as the Command. Paths travel by TravellingPath.
Item DroppedItem(const DroppedThing& thing, const std::optional<ShortcutFields>& shortcut,
                 std::string_view travellingDrive);

}  // namespace kestrin
