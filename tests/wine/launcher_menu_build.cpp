// Builds real menus from launcher models and checks what a user would meet: the pictures in
// the image list, the entries of every level, deep outlines without running out of stack or
// menu handles. Prints "PASS name" or "FAIL name: why" per check.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/pictures_win32.h"
#include "core/launcher_menu.h"
#include "shell/launcher_menu_win32.h"
#include "tests/wine/check.h"

using namespace kestrin;

namespace {

std::string Caption(HMENU menu, int position) {
    char text[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

Item Program(const std::string& command, const std::string& iconFile = "", int iconIndex = 0) {
    Item item;
    item.command = command;
    item.iconFile = iconFile;
    item.iconIndex = static_cast<std::uint8_t>(iconIndex);
    return item;
}

void PicturesAndLevels() {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string notepad = std::string(windows) + "\\notepad.exe";

    OutlineList outline = {"Notepad", "Tools", "\tInner", "-", "Missing icon", "Piped", "Folder icon", "-"};
    ItemTable items;
    items.Append(Program(notepad));
    Item tools;
    tools.kind = kKindSubmenu;
    items.Append(tools);
    items.Append(Program(notepad));
    Item line;
    line.kind = kKindSeparator;
    items.Append(line);
    items.Append(Program("C:\\does\\not\\exist.exe"));
    items.Append(Program("|" + notepad + "|"));  // pipes stay in the icon path: no picture
    Item withIcon;
    withIcon.kind = kKindSubmenu;
    withIcon.iconFile = notepad;
    items.Append(withIcon);
    items.Append(line);

    HIMAGELIST images = CreateMenuImageList();
    const LauncherMenu model = BuildLauncherMenu(outline, items, "C:");
    std::vector<int> pictures = LoadLauncherPictures(model, images);
    const int firstCount = ImageList_GetImageCount(images);
    Check(firstCount == kFixedMenuPictureCount + 3, "pictures_one_per_icon_obtained",
          "image count " + std::to_string(firstCount));
    Check(pictures[0] == 3 && pictures[2] == 4 && pictures[6] == 5, "pictures_follow_the_fixed_three",
          std::to_string(pictures[0]) + "," + std::to_string(pictures[2]) + "," + std::to_string(pictures[6]));
    Check(pictures[1] == kMenuPictureFolder, "submenu_without_icon_file_shows_folder", std::to_string(pictures[1]));
    Check(pictures[4] == -1 && pictures[5] == -1, "unreadable_or_piped_path_shows_no_picture",
          std::to_string(pictures[4]) + "," + std::to_string(pictures[5]));

    pictures = LoadLauncherPictures(model, images);
    Check(ImageList_GetImageCount(images) == firstCount, "second_showing_keeps_picture_count",
          std::to_string(ImageList_GetImageCount(images)));

    // Kept between showings: the same menu reuses its pictures, a changed one refills the list.
    LauncherPictureCache cache;
    const std::vector<int> first = cache.Load(model, images);
    const std::vector<int> again = cache.Load(model, images);
    Check(first == pictures && again == pictures && ImageList_GetImageCount(images) == firstCount,
          "cached_pictures_stay_for_the_same_menu", std::to_string(ImageList_GetImageCount(images)));
    OutlineList shorter(outline.begin(), outline.begin() + 2);
    const std::vector<int> fewer = cache.Load(BuildLauncherMenu(shorter, items, "C:"), images);
    Check(ImageList_GetImageCount(images) == kFixedMenuPictureCount + 1 && fewer[0] == kFixedMenuPictureCount,
          "cached_pictures_follow_a_changed_menu", std::to_string(ImageList_GetImageCount(images)));
    pictures = cache.Load(model, images);

    HMENU root = CreatePopupMenu();
    LauncherMenuBuilder builder;
    builder.Build(root, model, pictures, 1);
    // Notepad, Tools, separator, Missing icon, Piped, Folder icon; the trailing line is hidden.
    const int count = GetMenuItemCount(root);
    Check(count == 6, "trailing_separator_hidden", "top level has " + std::to_string(count) + " items");
    HMENU inner = GetSubMenu(root, 1);
    Check(inner && GetMenuItemCount(inner) == 1 && Caption(inner, 0).find("Inner") != std::string::npos,
          "submenu_holds_its_children", inner ? Caption(inner, 0) : "no submenu");
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(root, 2, TRUE, &info);
    Check((info.fType & MFT_SEPARATOR) != 0, "separator_line_between_entries", "type " + std::to_string(info.fType));
    for (int i = GetMenuItemCount(root) - 1; i >= 0; --i) RemoveMenu(root, static_cast<UINT>(i), MF_BYPOSITION);
    builder.Release();
    DestroyMenu(root);
    ImageList_Destroy(images);
}

void DeepOutline(int depth, size_t budget, const char* name) {
    OutlineList outline;
    ItemTable items;
    outline.reserve(static_cast<size_t>(depth));
    for (int i = 0; i < depth; ++i) {
        outline.push_back(std::string(static_cast<size_t>(i), '\t') + "Level " + std::to_string(i));
        Item submenu;
        submenu.kind = kKindSubmenu;
        items.Append(submenu);
    }
    const LauncherMenu model = BuildLauncherMenu(outline, items, "");
    const std::vector<int> pictures(model.entries.size(), -1);
    HMENU root = CreatePopupMenu();
    LauncherMenuBuilder builder;
    const DWORD start = GetTickCount();
    builder.Build(root, model, pictures, 1, budget);

    // Walk down as a user opening every submenu would, filling each as it opens.
    HMENU level = root;
    int reached = 0;
    for (; reached < depth - 1; ++reached) {
        HMENU sub = GetSubMenu(level, 0);
        if (!sub) break;
        builder.FillOnOpen(sub);
        if (GetMenuItemCount(sub) != 1) break;
        level = sub;
    }
    const DWORD took = GetTickCount() - start;
    Check(reached == depth - 1, name, "reached level " + std::to_string(reached) + " of " + std::to_string(depth - 1));
    Check(took < 20000, (std::string(name) + "_fast").c_str(), std::to_string(took) + " ms");
    RemoveMenu(root, 0, MF_BYPOSITION);
    builder.Release();
    DestroyMenu(root);
}

void DeepOutlineWithoutOpening() {
    // Building a deep outline creates a bounded number of submenus at once; the rest wait
    // until they open, so menu handles stay free for the rest of the program.
    const int depth = 10000;
    OutlineList outline;
    ItemTable items;
    for (int i = 0; i < depth; ++i) {
        outline.push_back(std::string(static_cast<size_t>(i), '\t') + "x");
        items.Append(Program(""));
    }
    const LauncherMenu model = BuildLauncherMenu(outline, items, "");
    const std::vector<int> pictures(model.entries.size(), -1);
    HMENU root = CreatePopupMenu();
    LauncherMenuBuilder builder;
    builder.Build(root, model, pictures, 1, 100);
    int filled = 0;
    for (HMENU level = GetSubMenu(root, 0); level && GetMenuItemCount(level) == 1; level = GetSubMenu(level, 0))
        ++filled;
    Check(filled == 100, "deep_outline_creates_a_bounded_number_of_submenus",
          std::to_string(filled) + " submenus filled at once");
    RemoveMenu(root, 0, MF_BYPOSITION);
    builder.Release();
    DestroyMenu(root);
}

}  // namespace

int main() {
    PicturesAndLevels();
    DeepOutline(3000, LauncherMenuBuilder::kDefaultEagerSubmenus, "deep_submenus_open_past_the_eager_budget");
    DeepOutline(50, 0, "lazy_submenus_fill_when_opened");
    DeepOutlineWithoutOpening();
    return CheckExitCode();
}
