#include "base/popup_menu_win32.h"

namespace kestrin {

namespace {

// A little air between the picture and the caption, at 96 DPI.
constexpr int kPictureGap = 3;

int PictureGap(int size) { return (kPictureGap * size + IconSprites::kSize / 2) / IconSprites::kSize; }

// Where a picture of that size goes in an item's picture place.
POINT PicturePlace(const DRAWITEMSTRUCT& draw, int size) {
    const RECT& item = draw.rcItem;
    return {item.left + (item.right - item.left - size - PictureGap(size)) / 2,
            item.top + (item.bottom - item.top - size) / 2};
}

}  // namespace

void AppendMenuEntry(HMENU menu, const std::string& caption, UINT id, bool picture, ULONG_PTR data, HMENU submenu,
                     bool separator) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    if (separator) {
        item.fMask = MIIM_FTYPE | MIIM_DATA;
        item.fType = MFT_SEPARATOR;
    } else {
        item.fMask = MIIM_STRING | MIIM_ID | MIIM_DATA;
        item.dwTypeData = const_cast<char*>(caption.c_str());
        item.wID = id;
        if (submenu) {
            item.fMask |= MIIM_SUBMENU;
            item.hSubMenu = submenu;
        }
        if (picture) {
            item.fMask |= MIIM_BITMAP;
            item.hbmpItem = HBMMENU_CALLBACK;
        }
    }
    item.dwItemData = data;
    InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item);
}

void ClearMenu(HMENU menu) {
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) RemoveMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
}

void NotifyByPosition(HMENU menu) {
    MENUINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = MIM_STYLE;
    info.dwStyle = MNS_NOTIFYBYPOS;
    SetMenuInfo(menu, &info);
}

ULONG_PTR MenuItemData(HMENU menu, UINT position) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_DATA;
    return GetMenuItemInfoA(menu, position, TRUE, &item) ? item.dwItemData : 0;
}

UINT TrackMenu(HMENU menu, HWND owner, int x, int y, bool returnChoice) {
    // Right-aligned where the user set menus to drop that way, as the system's own menus are.
    const UINT align = GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    const UINT id = static_cast<UINT>(
        TrackPopupMenu(menu, align | TPM_RIGHTBUTTON | (returnChoice ? TPM_RETURNCMD : 0), x, y, 0, owner, nullptr));
    // Without a message after it, a notification-area menu may not close on the next click
    // elsewhere.
    PostMessageA(owner, WM_NULL, 0, 0);
    return returnChoice ? id : 0;
}

bool MeasureMenuPicture(MEASUREITEMSTRUCT& measure, int size) {
    if (measure.CtlType != ODT_MENU) return false;
    measure.itemWidth = static_cast<UINT>(size + PictureGap(size));
    measure.itemHeight = static_cast<UINT>(size);
    return true;
}

void DrawMenuPicture(const DRAWITEMSTRUCT& draw, HIMAGELIST images, int index) {
    int width = 0, height = 0;
    if (!images || index < 0 || !ImageList_GetIconSize(images, &width, &height)) return;
    const POINT at = PicturePlace(draw, width);
    ImageList_Draw(images, index, draw.hDC, at.x, at.y, ILD_TRANSPARENT);
}

void DrawMenuIcon(const DRAWITEMSTRUCT& draw, HICON icon, int size, const IconSprites* sprites, int sprite) {
    if (!icon) return;
    const POINT at = PicturePlace(draw, size);
    if (sprites && sprite >= 0 && sprites->Size() == size) return sprites->Draw(draw.hDC, at.x, at.y, sprite);
    DrawIconEx(draw.hDC, at.x, at.y, icon, size, size, 0, nullptr, DI_NORMAL);
}

}  // namespace kestrin
