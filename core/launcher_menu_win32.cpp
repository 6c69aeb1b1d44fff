#include "core/launcher_menu_win32.h"

#include <shellapi.h>

#include <map>
#include <utility>

#include "shell/popup_menu_win32.h"

namespace kestrin {

HICON ExtractSmallIcon(const std::string& path, int index) {
    HICON small = nullptr;
    if (ExtractIconExA(path.c_str(), index, nullptr, &small, 1) != 1) {
        if (small) DestroyIcon(small);
        return nullptr;
    }
    return small;
}

std::vector<int> LoadLauncherPictures(const LauncherMenu& menu, HIMAGELIST images) {
    for (int i = ImageList_GetImageCount(images) - 1; i >= kFixedPictureCount; --i) ImageList_Remove(images, i);
    std::vector<int> pictures(menu.entries.size(), -1);
    // Each file is read afresh for every showing, but only once per showing: many entries
    // of one big menu often share a program's icon.
    std::map<std::pair<std::string, int>, HICON> extracted;
    for (size_t i = 0; i < menu.entries.size(); ++i) {
        const PictureRequest& request = menu.entries[i].picture;
        if (request.source == PictureRequest::Source::Folder) {
            pictures[i] = kFolderPicture;
        } else if (request.source == PictureRequest::Source::File && !request.path.empty()) {
            // An empty path yields no icon anyway; skipping it spares a shell call per entry.
            auto key = std::make_pair(request.path, request.index);
            auto found = extracted.find(key);
            if (found == extracted.end())
                found = extracted.emplace(std::move(key), ExtractSmallIcon(request.path, request.index)).first;
            if (found->second) pictures[i] = ImageList_AddIcon(images, found->second);
        }
    }
    for (auto& [key, icon] : extracted)
        if (icon) DestroyIcon(icon);
    return pictures;
}

void LauncherMenuBuilder::Build(HMENU root, const LauncherMenu& menu, const std::vector<int>& pictures,
                                UINT firstId, size_t eagerSubmenuBudget) {
    Release();
    menu_ = &menu;
    pictures_ = &pictures;
    firstId_ = firstId;
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
        const int picture = (*pictures_)[static_cast<size_t>(index)];
        HMENU submenu = nullptr;
        if (!entry.separator && !entry.children.empty()) {
            submenu = CreatePopupMenu();
            // Out of menu handles: the entry still shows, without its submenu.
            if (submenu) {
                submenus_.push_back(submenu);
                holders.push_back({submenu, index});
            }
        }
        AppendMenuEntry(menu, entry.caption, id, picture, submenu, entry.separator);
    }
}

void LauncherMenuBuilder::Release() {
    for (auto it = submenus_.rbegin(); it != submenus_.rend(); ++it) {
        for (int i = GetMenuItemCount(*it) - 1; i >= 0; --i) RemoveMenu(*it, static_cast<UINT>(i), MF_BYPOSITION);
        DestroyMenu(*it);
    }
    submenus_.clear();
    unfilled_.clear();
    menu_ = nullptr;
    pictures_ = nullptr;
}

}  // namespace kestrin
