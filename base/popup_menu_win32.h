// Popup menus with pictures from an image list. Items draw their picture through
// HBMMENU_CALLBACK, so the window that tracks the menu answers WM_MEASUREITEM and
// WM_DRAWITEM with the helpers below.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace kestrin {

// Appends an item to a menu: a command (id), a submenu holder (submenu not null) or a
// separator line; image -1 shows no picture.
void AppendMenuEntry(HMENU menu, const std::string& caption, UINT id, int image, HMENU submenu, bool separator);

// Removes every item, the last first; submenus are detached, not destroyed.
void ClearMenu(HMENU menu);

// Tracks the menu with its top-left corner at the point (screen coordinates) until it
// closes; the chosen item's id, 0 for none.
UINT TrackMenu(HMENU menu, HWND owner, int x, int y);

// WM_MEASUREITEM and WM_DRAWITEM for menu pictures: true when the message was a menu's.
bool MeasureMenuPicture(MEASUREITEMSTRUCT& measure);
bool DrawMenuPicture(const DRAWITEMSTRUCT& draw, HIMAGELIST images);

}  // namespace kestrin
