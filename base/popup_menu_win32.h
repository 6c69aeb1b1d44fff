// Popup menus with pictures. Items draw their picture through HBMMENU_CALLBACK, so the
// window that tracks the menu answers WM_MEASUREITEM and WM_DRAWITEM with the helpers below;
// an item's data travels to the drawing as itemData.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "base/icon_sprites_win32.h"

namespace kestrin {

// Appends an item to a menu: a command (id), a submenu holder (submenu not null) or a
// separator line, carrying `data`; a picture is drawn only when `picture` is set.
void AppendMenuEntry(HMENU menu, const std::string& caption, UINT id, bool picture, ULONG_PTR data, HMENU submenu,
                     bool separator);

// Choices of this menu arrive as WM_MENUCOMMAND with the item's position instead of its id,
// which parts of the platform cut to 16 bits.
void NotifyByPosition(HMENU menu);
// The data of the item at a position.
ULONG_PTR MenuItemData(HMENU menu, UINT position);

// Removes every item, the last first; submenus are detached, not destroyed.
void ClearMenu(HMENU menu);

// Tracks the menu with its top-left corner at the point (screen coordinates; its top-right
// corner where the user's menus drop to the left) until it closes. With returnChoice, the chosen item's id (0 for none); without, the owner is told of
// the choice by a posted message and 0 comes back.
UINT TrackMenu(HMENU menu, HWND owner, int x, int y, bool returnChoice);

// WM_MEASUREITEM for menu pictures of size x size pixels: true when the message was a menu's.
bool MeasureMenuPicture(MEASUREITEMSTRUCT& measure, int size = IconSprites::kSize);
// Draws a picture of the list (at the list's size), or an icon, in the item's picture place.
void DrawMenuPicture(const DRAWITEMSTRUCT& draw, HIMAGELIST images, int index);
// An icon at size x size comes from its sprite when it has one (sprite >= 0), else straight
// from the icon.
void DrawMenuIcon(const DRAWITEMSTRUCT& draw, HICON icon, int size, const IconSprites* sprites = nullptr,
                  int sprite = -1);

}  // namespace kestrin
