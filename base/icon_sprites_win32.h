// Small icons kept as premultiplied 32-bit pixels in one bitmap, each drawn with a single
// alpha blend. DrawIconEx creates and frees several GDI objects per call (under Wine a quarter
// of a long menu's drawing time); a sprite is composed once and then only copied.
#pragma once

#include <windows.h>

#include <vector>

#include "base/owned_win32.h"

namespace kestrin {

// The icon as DrawIconEx draws it at size x size, as premultiplied pixels; empty for a null
// icon, or for one whose drawing depends on more than its own alpha (pixels that invert the
// background). Any thread may compose.
std::vector<DWORD> ComposeSprite(HICON icon, int size);

class IconSprites {
public:
    // The size at 96 DPI.
    static constexpr int kSize = 16;

    explicit IconSprites(int size = kSize) : size_(size > 0 ? size : kSize) {}
    ~IconSprites();
    IconSprites(const IconSprites&) = delete;
    IconSprites& operator=(const IconSprites&) = delete;

    int Size() const { return size_; }
    // Composes the icon (see ComposeSprite) at Size() x Size(); -1 when it is no sprite.
    int Add(HICON icon) { return Add(ComposeSprite(icon, size_)); }
    // Pixels composed beforehand at Size(); -1 when there are none.
    int Add(const std::vector<DWORD>& composed);
    void Remove(int sprite);
    // Draws a sprite with its top-left corner at (x, y).
    void Draw(HDC dc, int x, int y, int sprite) const;

private:
    bool Grow();
    int Pixels() const { return size_ * size_; }

    OwnedMemoryDC dc_;  // holds strip_ while it lives
    HGDIOBJ dcDefault_ = nullptr;
    // Declared after the DC, so it is deleted first, once the destructor has selected it out.
    int size_;
    OwnedBitmap strip_;  // size_ wide, one sprite under the other
    DWORD* bits_ = nullptr;
    int capacity_ = 0;
    std::vector<int> free_;
    int used_ = 0;  // sprites handed out from the end of the strip
};

}  // namespace kestrin
