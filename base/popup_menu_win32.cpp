#include "base/popup_menu_win32.h"

namespace kestrin {

namespace {

constexpr int kPictureSize = 16;
// A little air between the picture and the caption.
constexpr int kPictureGap = 3;

}  // namespace

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

void ClearMenu(HMENU menu) {
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) RemoveMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
}

UINT TrackMenu(HMENU menu, HWND owner, int x, int y) {
    const UINT id = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, owner, nullptr));
    // Without a message after it, a notification-area menu may not close on the next click
    // elsewhere.
    PostMessageA(owner, WM_NULL, 0, 0);
    return id;
}

bool MeasureMenuPicture(MEASUREITEMSTRUCT& measure) {
    if (measure.CtlType != ODT_MENU) return false;
    measure.itemWidth = kPictureSize + kPictureGap;
    measure.itemHeight = kPictureSize;
    return true;
}

bool DrawMenuPicture(const DRAWITEMSTRUCT& draw, HIMAGELIST images) {
    if (draw.CtlType != ODT_MENU) return false;
    if (images) {
        const RECT& r = draw.rcItem;
        const int x = r.left + (r.right - r.left - kPictureSize - kPictureGap) / 2;
        const int y = r.top + (r.bottom - r.top - kPictureSize) / 2;
        ImageList_Draw(images, static_cast<int>(draw.itemData), draw.hDC, x, y, ILD_TRANSPARENT);
    }
    return true;
}

}  // namespace kestrin
