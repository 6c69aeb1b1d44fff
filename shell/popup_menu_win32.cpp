#include "shell/popup_menu_win32.h"

#include <set>

#include "shell/window_dispatch_win32.h"

namespace kestrin {

namespace {

constexpr UINT kPostedCommand = WM_APP + 1;
constexpr int kPictureSize = 16;
// A little air between the picture and the caption.
constexpr int kPictureGap = 3;

std::set<PopupMenu*>& LiveMenus() {
    static std::set<PopupMenu*> menus;
    return menus;
}

PopupMenu* gTracked = nullptr;

LRESULT HandlePopupListMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        if (measure->CtlType != ODT_MENU) break;
        measure->itemWidth = kPictureSize + kPictureGap;
        measure->itemHeight = kPictureSize;
        return TRUE;
    }
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        if (draw->CtlType != ODT_MENU) break;
        if (gTracked && gTracked->images) {
            const RECT& r = draw->rcItem;
            const int x = r.left + (r.right - r.left - kPictureSize - kPictureGap) / 2;
            const int y = r.top + (r.bottom - r.top - kPictureSize) / 2;
            ImageList_Draw(gTracked->images, static_cast<int>(draw->itemData), draw->hDC, x, y, ILD_TRANSPARENT);
        }
        return TRUE;
    }
    case WM_INITMENUPOPUP:
        if (gTracked && reinterpret_cast<HMENU>(wp) != gTracked->Handle() && gTracked->onSubmenuOpening)
            gTracked->onSubmenuOpening(reinterpret_cast<HMENU>(wp));
        return 0;
    case kPostedCommand: {
        auto* menu = reinterpret_cast<PopupMenu*>(lp);
        if (LiveMenus().count(menu) && menu->onCommand) menu->onCommand(static_cast<UINT>(wp));
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK PopupListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return CallGuarded([&] { return HandlePopupListMessage(hwnd, msg, wp, lp); });
}

// The hidden window that owns every tracked menu and turns a choice into its command.
HWND PopupListWindow() {
    static HWND window = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = PopupListProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KestrinPopupList";
        RegisterClassA(&wc);
        return CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    }();
    return window;
}

}  // namespace

PopupMenu::PopupMenu() : menu_(CreatePopupMenu()) {
    LiveMenus().insert(this);
}

PopupMenu::~PopupMenu() {
    LiveMenus().erase(this);
    if (gTracked == this) gTracked = nullptr;
    Clear();
    DestroyMenu(menu_);
}

void PopupMenu::Clear() {
    for (int i = GetMenuItemCount(menu_) - 1; i >= 0; --i) RemoveMenu(menu_, static_cast<UINT>(i), MF_BYPOSITION);
}

bool PopupMenu::AnyTracking() { return gTracked != nullptr; }

void PopupMenu::Popup(int x, int y) {
    if (gTracked) return;
    struct TrackScope {
        explicit TrackScope(PopupMenu* menu) { gTracked = menu; }
        ~TrackScope() { gTracked = nullptr; }
    } scope(this);
    if (onPopup) onPopup();
    const HWND owner = PopupListWindow();
    const UINT id = static_cast<UINT>(
        TrackPopupMenu(menu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, owner, nullptr));
    if (id != 0) PostMessageA(owner, kPostedCommand, id, reinterpret_cast<LPARAM>(this));
}

void PopupMenu::ClickDefaultItem() {
    const UINT id = GetMenuDefaultItem(menu_, FALSE, 0);
    if (id != static_cast<UINT>(-1) && onCommand) onCommand(id);
}

void AppendMenuEntry(HMENU menu, const std::string& caption, UINT id, int image, HMENU submenu, bool separator) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    if (separator) {
        item.fMask = MIIM_FTYPE;
        item.fType = MFT_SEPARATOR;
    } else {
        item.fMask = MIIM_STRING | MIIM_ID;
        item.dwTypeData = const_cast<char*>(caption.c_str());
        item.wID = id;
        if (submenu) {
            item.fMask |= MIIM_SUBMENU;
            item.hSubMenu = submenu;
        }
        if (image >= 0) {
            item.fMask |= MIIM_BITMAP | MIIM_DATA;
            item.hbmpItem = HBMMENU_CALLBACK;
            item.dwItemData = static_cast<ULONG_PTR>(image);
        }
    }
    InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item);
}

}  // namespace kestrin
