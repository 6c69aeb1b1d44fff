// The launcher menu model turned into menu items: pictures into the menu picture list,
// entries into the launcher menu and its submenus.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "base/icon_sprites_win32.h"
#include "base/owned_win32.h"
#include "base/pictures.h"
#include "core/launcher_menu.h"

namespace kestrin {

// One icon of a file at size x size: the file's frame nearest that size, as ExtractIconExA
// gives the small icon at the system's own small-icon size. Null unless exactly one came
// back. The caller owns it.
HICON ExtractSmallIcon(const std::string& path, int index, int size = IconSprites::kSize);
// Where the search path finds a bare file name, as the shell finds a command; the name
// itself when it is nowhere.
std::string SearchedIconFile(const std::string& name);

// The picture of an entry that shows its own icon (drawn by IconLoader or LauncherIcons); the
// fixed pictures keep their indexes below it.
constexpr int kEntryIcon = kFixedMenuPictureCount;

// The launcher menu's icons read on the calling thread, kept from one showing to the next. The
// resident program reads them in the background instead (IconLoader); this reader is what the
// benchmark's in-process profile and the menu-building test measure and check. Reading icons
// out of files is by far the slowest part of showing a menu, so an entry's picture is decided
// from its file's icon count when the menu is built, and the icon itself is read when its
// entry is first drawn: a long menu reads only the icons that come into view. What was read is
// kept while the file keeps its size and last-write time (a file that stays missing counts as
// unchanged). A bare file name is looked for on the search path, as the shell finds it, and
// its file is the one found there.
class LauncherIcons {
public:
    // Looks at every file the menu's pictures come from. True when one of them changed,
    // appeared or vanished since the last look, or was not looked at before; what came from
    // it is forgotten.
    bool Refresh(const LauncherMenu& menu);
    // Every entry's picture: -1 none, kMenuPictureFolder, or kEntryIcon.
    std::vector<int> Pictures(const LauncherMenu& menu);
    // The icon of a file request at size x size, read on first use; null when there is none.
    HICON Icon(const PictureRequest& request, int size = IconSprites::kSize);
    // Draws that icon in a menu item's picture place.
    void Draw(const DRAWITEMSTRUCT& draw, const PictureRequest& request, int size = IconSprites::kSize);
    void Clear();

private:
    struct Stamp {
        bool exists = false;
        FILETIME written{};
        DWORD sizeHigh = 0;
        DWORD sizeLow = 0;
        bool operator==(const Stamp& other) const;
    };
    struct FileState {
        Stamp stamp;
        int iconCount = -1;  // not counted yet
    };
    struct Loaded {
        OwnedIcon icon;
        int sprite = -1;  // in sprites_, when the icon could be made one
    };
    // By file, icon index and size.
    using IconKey = std::tuple<std::string, int, int>;
    using IconMap = std::map<IconKey, Loaded>;
    static Stamp StampOf(const std::string& path);
    // The file a request's path names: the one Refresh found for it.
    const std::string& FileOf(const std::string& path) const;
    int IconCount(const std::string& path);
    IconMap::iterator Load(const PictureRequest& request, int size);
    IconMap::iterator Forget(IconMap::iterator icon);

    std::map<std::string, FileState> files_;    // by the file's full path for a searched name
    std::map<std::string, std::string> found_;  // a request's path -> its key in files_
    // By file and index, read with the file as files_ last saw it; a null icon is remembered as well.
    IconMap icons_;
    std::map<int, IconSprites> sprites_;  // by size
};

// Fills an (emptied) root menu from the model. Submenus are created level by level without
// recursion; past a budget of submenus the rest are filled only when they are about to open,
// so even a hundred-thousand-deep outline costs a handful of menu handles.
class LauncherMenuBuilder {
public:
    LauncherMenuBuilder() = default;
    ~LauncherMenuBuilder() { Release(); }
    LauncherMenuBuilder(const LauncherMenuBuilder&) = delete;
    LauncherMenuBuilder& operator=(const LauncherMenuBuilder&) = delete;

    // The model and pictures must outlive the built menu (until the next Build or Release).
    // Item ids are firstId + entry index; every item's data is its entry index, and every
    // menu reports choices by position (WM_MENUCOMMAND), so any number of entries works.
    void Build(HMENU root, const LauncherMenu& menu, const std::vector<int>& pictures, UINT firstId,
               size_t eagerSubmenuBudget = kDefaultEagerSubmenus);
    // WM_INITMENUPOPUP of one of our submenus: fills it if it is still empty.
    void FillOnOpen(HMENU submenu);
    // Destroys every submenu created, deepest first, detaching children before each destroy so
    // that no destroy walks down a chain. The root's items must have been removed already.
    void Release();
    // The entry's value in the pictures changed: its item gains or loses its picture place
    // (a menu not filled yet takes it from the pictures when it is).
    void PictureChanged(int entry);
    // Where an entry's item is, once its menu is filled: false for one not (yet) in a menu.
    bool PlaceOf(int entry, HMENU* menu, UINT* position) const;

    static constexpr size_t kDefaultEagerSubmenus = 2000;

private:
    struct Pending {
        HMENU menu;
        int entry;
    };
    void FillLevel(HMENU menu, const std::vector<int>& level, std::vector<Pending>& holders);

    const LauncherMenu* menu_ = nullptr;
    const std::vector<int>* pictures_ = nullptr;
    UINT firstId_ = 1;
    std::vector<HMENU> submenus_;
    std::unordered_map<HMENU, int> unfilled_;
    std::vector<std::pair<HMENU, UINT>> places_;  // by entry
};

}  // namespace kestrin
