// The launcher menu model turned into menu items: pictures into the menu picture list,
// entries into the launcher menu and its submenus.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/icon_sprites_win32.h"
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

// The picture of an entry that shows its own icon (drawn by IconLoader); the fixed
// pictures keep their indexes below it.
constexpr int kEntryIcon = kFixedMenuPictureCount;

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
