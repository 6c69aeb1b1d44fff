// Builds real menus from launcher models and checks what a user would meet: which entries
// show a picture and what the icon loader sees when icon files are looked at again, the
// entries of every level, deep outlines without running out of stack or menu handles.
// Prints "PASS name" or "FAIL name: why" per check.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/icon_sprites_win32.h"
#include "base/owned_win32.h"
#include "base/pictures.h"
#include "base/popup_menu_win32.h"
#include "core/icon_schedule.h"
#include "core/launcher_menu.h"
#include "shell/icon_loader_win32.h"
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

// A 16 x 16 canvas of 32-bit pixels filled by `background`, for comparing drawings.
struct Canvas {
    HDC dc = CreateCompatibleDC(nullptr);
    DWORD* bits = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ before = nullptr;
    explicit Canvas(DWORD (*background)(int x, int y)) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = IconSprites::kSize;
        info.bmiHeader.biHeight = -IconSprites::kSize;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* pixels = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        bits = static_cast<DWORD*>(pixels);
        before = SelectObject(dc, bitmap);
        for (int y = 0; y < IconSprites::kSize; ++y)
            for (int x = 0; x < IconSprites::kSize; ++x) bits[y * IconSprites::kSize + x] = background(x, y);
    }
    ~Canvas() {
        SelectObject(dc, before);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
};

// The largest difference of one colour channel between the two canvases.
int Difference(const Canvas& a, const Canvas& b) {
    GdiFlush();
    int worst = 0;
    for (int p = 0; p < IconSprites::kSize * IconSprites::kSize; ++p)
        for (int shift = 0; shift <= 16; shift += 8) {
            const int d = static_cast<int>((a.bits[p] >> shift) & 0xff) - static_cast<int>((b.bits[p] >> shift) & 0xff);
            worst = d > worst ? d : -d > worst ? -d : worst;
        }
    return worst;
}

// An IconLoader whose results a hidden window takes, as the resident window does.
class LoaderWindow {
public:
    LoaderWindow() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
            auto* self = reinterpret_cast<LoaderWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
            if (self && msg == kIconsRead) {
                const IconChange change = self->loader_->TakeResults();
                self->taken_.entries.insert(self->taken_.entries.end(), change.entries.begin(), change.entries.end());
                self->taken_.placesChanged = self->taken_.placesChanged || change.placesChanged;
                return 0;
            }
            return DefWindowProcA(hwnd, msg, wp, lp);
        };
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KestrinIconLoaderCheck";
        RegisterClassA(&wc);
        window_.reset(
            CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr));
        SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        loader_ = std::make_unique<IconLoader>(window_.get(), kIconsRead);
    }
    IconLoader& loader() { return *loader_; }

    // Pumps messages until nothing is queued or being read. What the results taken
    // meanwhile changed; `settled` is false when the reading never settled in time.
    IconChange Settle(bool& settled, DWORD timeoutMs = 15000) {
        taken_ = IconChange();
        const DWORD start = GetTickCount();
        while (!loader_->Idle()) {
            const DWORD spent = GetTickCount() - start;
            if (spent >= timeoutMs) break;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - spent, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        }
        settled = loader_->Idle();
        return taken_;
    }

private:
    static constexpr UINT kIconsRead = WM_APP + 1;
    OwnedWindow window_;
    std::unique_ptr<IconLoader> loader_;  // goes before its window
    IconChange taken_;
};

bool Has(const std::vector<int>& entries, int entry) {
    return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

std::string Listed(const std::vector<int>& values) {
    std::string out;
    for (int value : values) out += (out.empty() ? "" : ",") + std::to_string(value);
    return "[" + out + "]";
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

    const LauncherMenu model = BuildLauncherMenu(outline, items, "C:");

    // A file that changes, vanishes or appears is looked at again.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string copy = std::string(temp) + "kestrin-icon-test.exe";
    DeleteFileA(copy.c_str());
    OutlineList one = {"Copy"};
    ItemTable copyItems;
    copyItems.Append(Program(copy));
    const LauncherMenu copyModel = BuildLauncherMenu(one, copyItems, "C:");

    LoaderWindow window;
    IconLoader& icons = window.loader();
    bool settled = false;
    icons.Want(model);
    // Nothing is taken in before the window's messages run: the places are still the guesses.
    std::vector<int> pictures = icons.Pictures(model);
    Check(pictures[0] == kEntryIcon && pictures[4] == kEntryIcon && pictures[5] == kEntryIcon,
          "entries_keep_a_picture_place_until_their_file_is_counted", Listed(pictures));
    IconChange change = window.Settle(settled);
    Check(settled && Has(change.entries, 0) && Has(change.entries, 2) && Has(change.entries, 4) &&
              Has(change.entries, 5) && Has(change.entries, 6) && change.placesChanged,
          "first_look_at_the_icon_files_is_a_change",
          (settled ? "" : "never settled; ") + std::string("entries ") + Listed(change.entries));
    pictures = icons.Pictures(model);
    Check(pictures[0] == kEntryIcon && pictures[2] == kEntryIcon && pictures[6] == kEntryIcon,
          "entries_with_an_icon_show_their_own", Listed(pictures));
    Check(pictures[1] == kMenuPictureFolder, "submenu_without_icon_file_shows_folder", std::to_string(pictures[1]));
    Check(pictures[4] == -1 && pictures[5] == -1, "unreadable_or_piped_path_shows_no_picture", Listed(pictures));
    // A ready icon is drawn in the item's picture place; one with no icon draws nothing.
    const auto blue = [](int, int) -> DWORD { return 0x3399ff; };
    Canvas blank(blue), drawnIcon(blue), drawnNothing(blue);
    DRAWITEMSTRUCT draw = {};
    draw.rcItem = {0, 0, IconSprites::kSize, IconSprites::kSize};
    draw.hDC = drawnIcon.dc;
    icons.Draw(draw, model.entries[0].picture);
    draw.hDC = drawnNothing.dc;
    icons.Draw(draw, model.entries[4].picture);
    Check(Difference(blank, drawnIcon) > 0 && Difference(blank, drawnNothing) == 0, "read_icon_is_drawn",
          "the icon was not drawn, or the missing one was");
    icons.LookAgain();
    change = window.Settle(settled);
    Check(settled && change.entries.empty() && !change.placesChanged && icons.Pictures(model) == pictures,
          "unchanged_files_are_no_change", "a second look changed entries " + Listed(change.entries));

    icons.Want(copyModel);
    window.Settle(settled);
    icons.LookAgain();
    change = window.Settle(settled);
    Check(settled && icons.Pictures(copyModel)[0] == -1 && change.entries.empty() && !change.placesChanged,
          "missing_file_stays_unchanged", "a missing file counted as a change");
    CopyFileA(notepad.c_str(), copy.c_str(), FALSE);
    icons.LookAgain();
    change = window.Settle(settled);
    Check(settled && Has(change.entries, 0) && change.placesChanged && icons.Pictures(copyModel)[0] == kEntryIcon,
          "appearing_file_is_a_change", "the new file was not seen");
    if (HANDLE file = CreateFileA(copy.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        file != INVALID_HANDLE_VALUE) {
        SetFilePointer(file, 0, nullptr, FILE_END);
        DWORD written = 0;
        WriteFile(file, "x", 1, &written, nullptr);
        CloseHandle(file);
    }
    icons.LookAgain();
    change = window.Settle(settled);
    // The icon is read again from the grown file, in the same place.
    Check(settled && Has(change.entries, 0) && !change.placesChanged && icons.Pictures(copyModel)[0] == kEntryIcon,
          "changed_file_is_a_change", "a grown file was not seen");
    DeleteFileA(copy.c_str());
    icons.LookAgain();
    change = window.Settle(settled);
    Check(settled && Has(change.entries, 0) && change.placesChanged && icons.Pictures(copyModel)[0] == -1,
          "vanished_file_is_a_change", "the deleted file still gives a picture");
    icons.Want(model);
    window.Settle(settled);
    pictures = icons.Pictures(model);
    Check(settled && pictures[0] == kEntryIcon && pictures[4] == -1, "menu_wanted_again_is_read_again",
          Listed(pictures));

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
    // A choice comes back by position and the item names its entry, whatever the entry count.
    MENUINFO style = {};
    style.cbSize = sizeof style;
    style.fMask = MIM_STYLE;
    GetMenuInfo(root, &style);
    Check((style.dwStyle & MNS_NOTIFYBYPOS) && inner && MenuItemData(root, 5) == 6 && MenuItemData(inner, 0) == 2,
          "items_carry_their_entry_and_report_by_position",
          "style " + std::to_string(style.dwStyle) + ", data " + std::to_string(MenuItemData(root, 5)));
    // A picture place that comes or goes changes that item and no other.
    const auto hasPlace = [](HMENU menu, UINT position) {
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_BITMAP;
        return GetMenuItemInfoA(menu, position, TRUE, &item) && item.hbmpItem == HBMMENU_CALLBACK;
    };
    pictures[0] = -1;
    builder.PictureChanged(0);
    pictures[4] = kEntryIcon;
    builder.PictureChanged(4);
    Check(!hasPlace(root, 0) && hasPlace(root, 3) && hasPlace(root, 1) && hasPlace(inner, 0) && !hasPlace(root, 4),
          "picture_place_changes_in_place", "places do not follow the pictures");
    for (int i = GetMenuItemCount(root) - 1; i >= 0; --i) RemoveMenu(root, static_cast<UINT>(i), MF_BYPOSITION);
    builder.Release();
    DestroyMenu(root);
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

// A mask icon: a filled square, with one pixel that inverts what is under it when `inverting`.
HICON MaskIcon(bool inverting) {
    BYTE andBits[IconSprites::kSize * 2], xorBits[IconSprites::kSize * 2];
    for (int row = 0; row < IconSprites::kSize; ++row) {
        const bool inside = row >= 4 && row < 12;
        andBits[row * 2] = inside ? 0x0f : 0xff;  // columns 0..3 opaque
        andBits[row * 2 + 1] = 0xff;
        xorBits[row * 2] = inside ? 0xa0 : 0x00;  // black and white stripes
        xorBits[row * 2 + 1] = row == 2 && inverting ? 0x80 : 0x00;
    }
    return CreateIcon(GetModuleHandleA(nullptr), IconSprites::kSize, IconSprites::kSize, 1, 1, andBits, xorBits);
}

// Menu icons drawn from sprites look as DrawIconEx draws them, over any background; an icon a
// sprite cannot show is drawn as it is.
void SpritesDrawAsIconsDo() {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    std::vector<HICON> icons;
    for (int index : {0, 3, 4, 15}) icons.push_back(ExtractSmallIcon(std::string(system) + "\\shell32.dll", index));
    icons.push_back(MaskIcon(false));
    DWORD (*backgrounds[])
    (int, int) = {
        [](int, int) -> DWORD { return GetSysColor(COLOR_MENU) & 0xffffff; },
        [](int, int) -> DWORD { return 0x3399ff; },
        [](int x, int y) -> DWORD { return static_cast<DWORD>(x * 16 << 16 | y * 16 << 8 | (255 - x * y)); },
    };
    IconSprites sprites;
    std::string faults;
    for (size_t i = 0; i < icons.size(); ++i) {
        const int sprite = sprites.Add(icons[i]);
        if (sprite < 0) faults += " icon " + std::to_string(i) + " has no sprite;";
        for (auto background : backgrounds) {
            Canvas expected(background), drawn(background);
            DrawIconEx(expected.dc, 0, 0, icons[i], IconSprites::kSize, IconSprites::kSize, 0, nullptr, DI_NORMAL);
            sprites.Draw(drawn.dc, 0, 0, sprite);
            if (const int d = Difference(expected, drawn); d > 1)
                faults += " icon " + std::to_string(i) + " differs by " + std::to_string(d) + ";";
        }
    }
    Check(faults.empty(), "sprites_draw_as_the_icons_do", faults);

    HICON inverting = MaskIcon(true);
    Check(sprites.Add(inverting) == -1 && sprites.Add(nullptr) == -1, "inverting_or_missing_icon_has_no_sprite",
          "a sprite was made");
    // A freed place is reused, and a full strip grows without losing what it holds.
    const int second = sprites.Add(icons[1]);
    sprites.Remove(second);
    Check(sprites.Add(icons[2]) == second, "freed_sprite_place_is_reused", "a new place was taken");
    Canvas beforeGrowing(backgrounds[2]), afterGrowing(backgrounds[2]);
    sprites.Draw(beforeGrowing.dc, 0, 0, 0);
    for (int i = 0; i < 100; ++i) sprites.Add(icons[4]);
    sprites.Draw(afterGrowing.dc, 0, 0, 0);
    Check(Difference(beforeGrowing, afterGrowing) == 0, "growing_keeps_the_sprites", "sprite 0 changed");
    for (HICON icon : icons) DestroyIcon(icon);
    DestroyIcon(inverting);
}

}  // namespace

int main() {
    PicturesAndLevels();
    SpritesDrawAsIconsDo();
    DeepOutline(3000, LauncherMenuBuilder::kDefaultEagerSubmenus, "deep_submenus_open_past_the_eager_budget");
    DeepOutline(50, 0, "lazy_submenus_fill_when_opened");
    DeepOutlineWithoutOpening();
    return CheckExitCode();
}
