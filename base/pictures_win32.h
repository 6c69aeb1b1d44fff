// The drawn pictures as Win32 images. Every function returns a new handle the caller owns.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "base/pictures.h"

namespace kestrin {

// An alpha icon with a matching mask; release with DestroyIcon. nullptr on failure.
HICON CreatePictureIcon(PictureId id, int size = 16);

// The menu picture list's fixed part: a size x size ILC_COLOR32 | ILC_MASK list holding the
// fixed menu pictures, drawn at that size, at their kMenuPicture* indexes. Release with
// ImageList_Destroy. nullptr on failure.
HIMAGELIST CreateMenuImageList(int size = 16);

}  // namespace kestrin
