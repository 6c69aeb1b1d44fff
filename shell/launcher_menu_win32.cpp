#include "shell/launcher_menu_win32.h"

#include <shellapi.h>

#include <utility>

#include "base/owned_win32.h"
#include "base/popup_menu_win32.h"

namespace kestrin {

HICON ExtractSmallIcon(const std::string& path, int index, int size) {
    HICON small = nullptr;
    UINT got = 0;
    if (size == GetSystemMetrics(SM_CXSMICON)) {
        got = ExtractIconExA(path.c_str(), index, nullptr, &small, 1);
    } else {
        // The frame nearest the size, never a smaller one blown up. 0xFFFFFFFF: no such file.
        UINT id = 0;
        got = PrivateExtractIconsA(path.c_str(), index, size, size, &small, &id, 1, 0);
        if (got == 0xFFFFFFFF) got = 0;
    }
    OwnedIcon icon(small);
    return got == 1 ? icon.release() : nullptr;
}

std::string SearchedIconFile(const std::string& name) {
    std::string found(MAX_PATH, '\0');
    for (int tries = 0; tries < 2; ++tries) {
        const DWORD length =
            SearchPathA(nullptr, name.c_str(), nullptr, static_cast<DWORD>(found.size()), found.data(), nullptr);
        if (length == 0) break;
        if (length < found.size()) {
            found.resize(length);
            return found;
        }
        found.assign(length, '\0');  // too small: length is the size needed
    }
    return name;
}

void LauncherMenuBuilder::Build(HMENU root, const LauncherMenu& menu, const std::vector<int>& pictures, UINT firstId,
                                size_t eagerSubmenuBudget) {
    Release();
    menu_ = &menu;
    pictures_ = &pictures;
    firstId_ = firstId;
    places_.assign(menu.entries.size(), {nullptr, 0});
    NotifyByPosition(root);
    std::vector<Pending> holders;
    FillLevel(root, menu.topLevel, holders);
    // Breadth first: the upper levels are complete before any budget runs out.
    size_t next = 0;
    for (; next < holders.size() && next < eagerSubmenuBudget; ++next)
        FillLevel(holders[next].menu, menu.entries[static_cast<size_t>(holders[next].entry)].children, holders);
    for (; next < holders.size(); ++next) unfilled_[holders[next].menu] = holders[next].entry;
}

void LauncherMenuBuilder::FillOnOpen(HMENU submenu) {
    auto found = unfilled_.find(submenu);
    if (found == unfilled_.end() || !menu_) return;
    const int entry = found->second;
    unfilled_.erase(found);
    std::vector<Pending> holders;
    FillLevel(submenu, menu_->entries[static_cast<size_t>(entry)].children, holders);
    for (const Pending& holder : holders) unfilled_[holder.menu] = holder.entry;
}

void LauncherMenuBuilder::FillLevel(HMENU menu, const std::vector<int>& level, std::vector<Pending>& holders) {
    for (int index : level) {
        const MenuEntry& entry = menu_->entries[static_cast<size_t>(index)];
        if (!entry.visible) continue;
        const UINT id = firstId_ + static_cast<UINT>(index);
        const bool picture = (*pictures_)[static_cast<size_t>(index)] >= 0;
        HMENU submenu = nullptr;
        if (OpensSubmenu(entry)) {
            submenu = CreatePopupMenu();
            // Out of menu handles: the entry still shows, without its submenu.
            if (submenu) {
                NotifyByPosition(submenu);
                submenus_.push_back(submenu);
                holders.push_back({submenu, index});
            }
        }
        places_[static_cast<size_t>(index)] = {menu, static_cast<UINT>(GetMenuItemCount(menu))};
        // The entry's index travels with the item: it picks the picture and the launch.
        AppendMenuEntry(menu, entry.caption, id, picture, static_cast<ULONG_PTR>(index), submenu, entry.separator);
    }
}

void LauncherMenuBuilder::PictureChanged(int entry) {
    HMENU menu = nullptr;
    UINT position = 0;
    if (!pictures_ || !PlaceOf(entry, &menu, &position)) return;
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_BITMAP;
    item.hbmpItem = (*pictures_)[static_cast<size_t>(entry)] >= 0 ? HBMMENU_CALLBACK : nullptr;
    SetMenuItemInfoA(menu, position, TRUE, &item);
}

bool LauncherMenuBuilder::PlaceOf(int entry, HMENU* menu, UINT* position) const {
    if (entry < 0 || static_cast<size_t>(entry) >= places_.size() || !places_[static_cast<size_t>(entry)].first)
        return false;
    *menu = places_[static_cast<size_t>(entry)].first;
    *position = places_[static_cast<size_t>(entry)].second;
    return true;
}

void LauncherMenuBuilder::Release() {
    for (auto it = submenus_.rbegin(); it != submenus_.rend(); ++it) {
        for (int i = GetMenuItemCount(*it) - 1; i >= 0; --i) RemoveMenu(*it, static_cast<UINT>(i), MF_BYPOSITION);
        DestroyMenu(*it);
    }
    submenus_.clear();
    unfilled_.clear();
    places_.clear();
    menu_ = nullptr;
    pictures_ = nullptr;
}

}  // namespace kestrin
