// The launcher menu model turned into menu items: pictures into the menu picture list,
// entries into the launcher menu and its submenus.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/owned_win32.h"
#include "core/launcher_menu.h"

namespace kestrin {

// ExtractIconExA for one small icon; null unless exactly one came back. The caller owns it.
HICON ExtractSmallIcon(const std::string& path, int index);

// The pictures of the launcher menu's entries in the picture list, after its fixed ones.
// Reading icons out of files and adding them to an image list is by far the slowest part
// of showing a menu, so an icon is kept from one showing to the next and read again only
// when its file's time stamp or size changed, or when the file cannot be examined; the list
// is refilled only when the entries' icons changed. It holds the fixed pictures plus one
// per icon obtained for an entry.
class LauncherPictureCache {
public:
    LauncherPictureCache() = default;
    LauncherPictureCache(const LauncherPictureCache&) = delete;
    LauncherPictureCache& operator=(const LauncherPictureCache&) = delete;

    // Every entry's picture index, -1 for none.
    std::vector<int> Load(const LauncherMenu& menu, HIMAGELIST images);
    void Clear();

private:
    struct Stamp {
        bool known = false;
        FILETIME written{};
        DWORD sizeHigh = 0;
        DWORD sizeLow = 0;
        // A file that cannot be examined never matches, so its icon is read every time.
        bool Matches(const Stamp& now) const {
            return known && now.known && written.dwLowDateTime == now.written.dwLowDateTime &&
                   written.dwHighDateTime == now.written.dwHighDateTime && sizeHigh == now.sizeHigh &&
                   sizeLow == now.sizeLow;
        }
    };
    struct Cached {
        Stamp stamp;
        OwnedIcon icon;
        bool fresh = false;  // read from its file for this showing
    };
    using Key = std::pair<std::string, int>;
    static Stamp StampOf(const std::string& path);

    std::map<Key, Cached> cache_;
    std::vector<Key> sequence_;   // the icon of each entry with a picture request, last showing
    std::vector<int> pictureOf_;  // their pictures in the list, -1 for none
    HIMAGELIST images_ = nullptr;
};

// Reads every icon afresh (a cache of one showing).
std::vector<int> LoadLauncherPictures(const LauncherMenu& menu, HIMAGELIST images);

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
    // Item ids are firstId + entry index.
    void Build(HMENU root, const LauncherMenu& menu, const std::vector<int>& pictures, UINT firstId,
               size_t eagerSubmenuBudget = kDefaultEagerSubmenus);
    // WM_INITMENUPOPUP of one of our submenus: fills it if it is still empty.
    void FillOnOpen(HMENU submenu);
    // Destroys every submenu created, deepest first, detaching children before each destroy so
    // that no destroy walks down a chain. The root's items must have been removed already.
    void Release();

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
};

}  // namespace kestrin
