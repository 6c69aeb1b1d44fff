#include "base/icon_sprites_win32.h"

#include <cstdlib>
#include <cstring>

namespace kestrin {

namespace {

// A top-down 32-bit DIB section; bits receives its pixels.
HBITMAP CreatePixels(int width, int height, DWORD** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = static_cast<DWORD*>(pixels);
    return bitmap;
}

int Channel(DWORD pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xff); }

// The icon drawn over black, white and mid-grey tells each pixel's colour and coverage. It is
// a sprite only if every pixel blends like colour + background * (255 - alpha) / 255.
bool Compose(HICON icon, int size, DWORD* sprite) {
    constexpr int kBackgrounds[] = {0x00, 0xff, 0x80};
    constexpr int kCount = sizeof kBackgrounds / sizeof kBackgrounds[0];
    const int pixels = size * size;
    DWORD* bits = nullptr;
    OwnedBitmap canvas(CreatePixels(size, size * kCount, &bits));
    const OwnedMemoryDC dc(CreateCompatibleDC(nullptr));
    if (!canvas || !dc) return false;
    bool drawn = true;
    {
        const ScopedSelect select(dc.get(), canvas.get());
        for (int i = 0; i < kCount; ++i) {
            const int grey = kBackgrounds[i];
            std::memset(bits + i * pixels, grey, pixels * sizeof(DWORD));
            drawn = drawn && DrawIconEx(dc.get(), 0, i * size, icon, size, size, 0, nullptr, DI_NORMAL);
        }
        GdiFlush();
    }
    if (!drawn) return false;

    for (int p = 0; p < pixels; ++p) {
        const DWORD black = bits[p], white = bits[pixels + p], grey = bits[2 * pixels + p];
        const int uncovered = Channel(white, 8) - Channel(black, 8);
        if (uncovered < 0) return false;
        const int alpha = 255 - uncovered;
        DWORD out = static_cast<DWORD>(alpha) << 24;
        for (int shift = 0; shift <= 16; shift += 8) {
            const int colour = Channel(black, shift);
            if (std::abs(Channel(white, shift) - colour - uncovered) > 1) return false;
            if (std::abs(Channel(grey, shift) - colour - (0x80 * uncovered + 127) / 255) > 1) return false;
            if (colour > alpha + 1) return false;
            out |= static_cast<DWORD>(colour > alpha ? alpha : colour) << shift;
        }
        sprite[p] = out;
    }
    return true;
}

}  // namespace

std::vector<DWORD> ComposeSprite(HICON icon, int size) {
    std::vector<DWORD> composed(static_cast<size_t>(size) * static_cast<size_t>(size));
    if (!icon || size <= 0 || !Compose(icon, size, composed.data())) composed.clear();
    return composed;
}

IconSprites::~IconSprites() {
    // The strip is put back out of the DC before either is deleted.
    if (dc_) SelectObject(dc_.get(), dcDefault_);
}

bool IconSprites::Grow() {
    const int capacity = capacity_ ? capacity_ * 2 : 32;
    DWORD* bits = nullptr;
    OwnedBitmap strip(CreatePixels(size_, size_ * capacity, &bits));
    if (!strip) return false;
    if (!dc_) {
        dc_.reset(CreateCompatibleDC(nullptr));
        if (!dc_) return false;
        dcDefault_ = SelectObject(dc_.get(), strip.get());
    } else {
        GdiFlush();
        std::memcpy(bits, bits_, static_cast<size_t>(capacity_) * Pixels() * sizeof(DWORD));
        SelectObject(dc_.get(), strip.get());
    }
    strip_ = std::move(strip);
    bits_ = bits;
    capacity_ = capacity;
    return true;
}

int IconSprites::Add(const std::vector<DWORD>& composed) {
    if (composed.size() != static_cast<size_t>(Pixels())) return -1;
    int sprite;
    if (!free_.empty()) {
        sprite = free_.back();
        free_.pop_back();
    } else {
        if (used_ == capacity_ && !Grow()) return -1;
        sprite = used_++;
    }
    GdiFlush();
    std::memcpy(bits_ + sprite * Pixels(), composed.data(), composed.size() * sizeof(DWORD));
    return sprite;
}

void IconSprites::Remove(int sprite) {
    if (sprite >= 0 && sprite < used_) free_.push_back(sprite);
}

void IconSprites::Draw(HDC dc, int x, int y, int sprite) const {
    if (sprite < 0 || sprite >= used_) return;
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, x, y, size_, size_, dc_.get(), 0, sprite * size_, size_, size_, blend);
}

}  // namespace kestrin
