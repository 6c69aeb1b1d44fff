#include "shell/launcher_menu_win32.h"

#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "base/pictures.h"
#include "base/popup_menu_win32.h"

namespace kestrin {

HICON ExtractSmallIcon(const std::string& path, int index) {
    HICON small = nullptr;
    const UINT got = ExtractIconExA(path.c_str(), index, nullptr, &small, 1);
    OwnedIcon icon(small);
    return got == 1 ? icon.release() : nullptr;
}

LauncherPictureCache::Stamp LauncherPictureCache::StampOf(const std::string& path) {
    Stamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        stamp.known = true;
        stamp.written = data.ftLastWriteTime;
        stamp.sizeHigh = data.nFileSizeHigh;
        stamp.sizeLow = data.nFileSizeLow;
    }
    return stamp;
}

std::vector<int> LauncherPictureCache::Load(const LauncherMenu& menu, HIMAGELIST images) {
    if (images != images_) {
        Clear();
        images_ = images;
    }
    std::map<Key, Cached> current;
    std::map<std::string, Stamp> stamps;  // one look at each file per showing
    std::vector<const Key*> order(menu.entries.size(), nullptr);
    for (size_t i = 0; i < menu.entries.size(); ++i) {
        const PictureRequest& request = menu.entries[i].picture;
        // An empty path yields no icon anyway; skipping it spares a shell call per entry.
        if (request.source != PictureRequest::Source::File || request.path.empty()) continue;
        Key key(request.path, request.index);
        auto done = current.find(key);
        if (done == current.end()) {
            auto stamp = stamps.find(request.path);
            if (stamp == stamps.end()) stamp = stamps.emplace(request.path, StampOf(request.path)).first;
            Cached entry;
            auto old = cache_.find(key);
            if (old != cache_.end() && old->second.stamp.Matches(stamp->second)) {
                entry = std::move(old->second);  // the icon moves to the current set
            } else {
                entry.stamp = stamp->second;
                entry.icon.reset(ExtractSmallIcon(request.path, request.index));
                entry.fresh = true;
            }
            done = current.emplace(std::move(key), std::move(entry)).first;
        }
        order[i] = &done->first;
    }
    // Icons no entry asks for any more are destroyed with the old set.
    cache_ = std::move(current);

    std::vector<Key> sequence;
    for (const Key* key : order)
        if (key) sequence.push_back(*key);
    // The same icons in the same places as last time: the list holds them already, and an
    // icon read again replaces its own picture.
    const auto held = std::count_if(pictureOf_.begin(), pictureOf_.end(), [](int p) { return p >= 0; });
    bool same = sequence == sequence_ && ImageList_GetImageCount(images) == kFixedMenuPictureCount + held;
    for (size_t k = 0; same && k < sequence.size(); ++k) {
        const Cached& cached = cache_.at(sequence[k]);
        if (!cached.fresh) continue;
        if (cached.icon && pictureOf_[k] >= 0)
            same = ImageList_ReplaceIcon(images, pictureOf_[k], cached.icon.get()) == pictureOf_[k];
        else
            same = !cached.icon && pictureOf_[k] < 0;
    }
    if (!same) {
        // Cutting the list back is one call; only the adds cost, once per changed menu.
        ImageList_SetImageCount(images, kFixedMenuPictureCount);
        pictureOf_.clear();
        for (const Key& key : sequence) {
            HICON icon = cache_.at(key).icon.get();
            pictureOf_.push_back(icon ? ImageList_AddIcon(images, icon) : -1);
        }
        sequence_ = std::move(sequence);
    }
    for (auto& [key, cached] : cache_) cached.fresh = false;

    std::vector<int> pictures(menu.entries.size(), -1);
    size_t next = 0;
    for (size_t i = 0; i < menu.entries.size(); ++i) {
        if (menu.entries[i].picture.source == PictureRequest::Source::Folder) pictures[i] = kMenuPictureFolder;
        if (order[i]) pictures[i] = pictureOf_[next++];
    }
    return pictures;
}

void LauncherPictureCache::Clear() {
    cache_.clear();
    sequence_.clear();
    pictureOf_.clear();
    images_ = nullptr;
}

std::vector<int> LoadLauncherPictures(const LauncherMenu& menu, HIMAGELIST images) {
    ImageList_SetImageCount(images, kFixedMenuPictureCount);
    LauncherPictureCache once;
    return once.Load(menu, images);
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
