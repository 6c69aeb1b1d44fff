// The drawn pictures as Win32 images. Every function returns a new handle the caller owns.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "app/pictures.h"

namespace kestrin {

// An alpha icon with a matching mask; release with DestroyIcon. nullptr on failure.
HICON CreatePictureIcon(PictureId id, int size = 16);

// A 32-bit top-down DIB section with premultiplied alpha (what AlphaBlend and menu
// bitmaps expect); release with DeleteObject. nullptr on failure.
HBITMAP CreatePictureBitmap(PictureId id, int size = 16);

// ImageList1's fixed part: a 16x16 ILC_COLOR32 | ILC_MASK list holding 0 settings,
// 1 exit, 2 folder. Release with ImageList_Destroy. nullptr on failure.
HIMAGELIST CreateMenuImageList();

}  // namespace kestrin
