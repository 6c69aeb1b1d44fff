// The launcher menu as data: every entry, caption, access key and picture request, decided
// from the OutlineList and the ItemTable. The Win32 side only turns this into an HMENU.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/environment.h"
#include "core/items.h"

namespace kestrin {

struct PictureRequest {
    enum class Source { None, Folder, File } source = Source::None;  // Folder = fixed picture 2
    std::string path;                                                // expanded (ExpandPath), for Source::File
    int index = 0;                                                   // IconIndex 0..255
};

struct MenuEntry {
    std::string caption;  // after separator tidying and access keys ("-" for a separator line)
    int slot = -1;        // SlotNumber, the entry's Tag
    PictureRequest picture;
    bool launches = false;      // click action LaunchItem
    bool separator = false;     // shown as a separator line (Kind 1, or caption exactly "-")
    bool visible = true;        // false: hidden by separator tidying
    int parent = -1;            // index of the holder entry, -1 top level
    std::vector<int> children;  // indices into LauncherMenu::entries, in order
};

// A flat table: entries refer to each other by index, so neither building nor destroying
// a deep outline recurses.
struct LauncherMenu {
    std::vector<MenuEntry> entries;
    std::vector<int> topLevel;
};

// Equal menus show the same: a menu built before may be shown again as it is.
bool operator==(const PictureRequest& a, const PictureRequest& b);
bool operator==(const MenuEntry& a, const MenuEntry& b);
bool operator==(const LauncherMenu& a, const LauncherMenu& b);
inline bool operator!=(const LauncherMenu& a, const LauncherMenu& b) { return !(a == b); }

// True when the entry opens a submenu. A separator line cannot be highlighted, so its
// children are never reachable.
inline bool OpensSubmenu(const MenuEntry& entry) { return !entry.children.empty() && !entry.separator; }

// True for a picture path the shell looks for on the search path, as it finds a command: a
// bare file name, with no folder or drive in front ("notepad.exe", "shell32.dll").
bool IsSearchedFor(std::string_view path);

// Builds every entry from the OutlineList and the ItemTable (fields read now), then tidies
// every level (separator lines, then access keys). Icon paths are expanded as launches are
// (ExpandPath: "%usb%" by exeDrive, then the environment).
// Line i is slot i; a line without a slot shows its title and launches nothing.
LauncherMenu BuildLauncherMenu(const OutlineList& outline, const ItemTable& items, std::string_view exeDrive,
                               const EnvironmentLookup& environment = {});

// Hides separator lines before the first and after the last other visible entry of the
// level, and all but the last of a run. Recomputes from scratch, so it may be run again.
void TidySeparators(LauncherMenu& menu, std::vector<int>& level);

// Gives every visible, captioned, non-separator entry of the level an access key where it
// can, by inserting "&" into its caption.
void AssignAccessKeys(LauncherMenu& menu, const std::vector<int>& level);

}  // namespace kestrin
