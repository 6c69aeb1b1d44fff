#include "base/pictures_win32.h"

#include <array>
#include <cstring>

#include "base/owned_win32.h"

namespace kestrin {
namespace {

// A top-down 32-bit DIB section holding the picture with premultiplied alpha.
HBITMAP CreateArgbSection(const Picture& pic) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = pic.size;
    bi.bmiHeader.biHeight = -pic.size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    OwnedBitmap bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bmp || !bits) return nullptr;
    auto* out = static_cast<std::uint32_t*>(bits);
    for (std::size_t i = 0; i < pic.pixels.size(); ++i) {
        const std::uint32_t p = pic.pixels[i];
        const std::uint32_t a = AlphaOf(p);
        auto pre = [a](std::uint32_t v) { return (v * a + 127) / 255; };
        out[i] = (a << 24) | (pre(RedOf(p)) << 16) | (pre(GreenOf(p)) << 8) | pre(BlueOf(p));
    }
    GdiFlush();
    return bmp.release();
}

// A 1-bit mask: set (transparent) where the picture is less than half covered, for
// whatever draws the icon without its alpha channel.
HBITMAP CreateMask(const Picture& pic) {
    const int stride = ((pic.size + 15) / 16) * 2;  // rows are WORD-aligned
    std::vector<unsigned char> bits(static_cast<std::size_t>(stride * pic.size), 0);
    for (int y = 0; y < pic.size; ++y)
        for (int x = 0; x < pic.size; ++x)
            if (AlphaOf(pic.At(x, y)) < 128)
                bits[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<unsigned char>(0x80 >> (x % 8));
    return CreateBitmap(pic.size, pic.size, 1, 1, bits.data());
}

HICON IconFromPicture(const Picture& pic) {
    // CreateIconIndirect copies both bitmaps, so they go when this returns.
    const OwnedBitmap colour(CreateArgbSection(pic));
    const OwnedBitmap mask(CreateMask(pic));
    if (!colour || !mask) return nullptr;
    ICONINFO ii{};
    ii.fIcon = TRUE;
    ii.hbmColor = colour.get();
    ii.hbmMask = mask.get();
    return CreateIconIndirect(&ii);
}

// The fixed menu pictures in list order, each placed by its own index constant.
constexpr std::array<PictureId, kFixedMenuPictureCount> FixedMenuPictures() {
    std::array<PictureId, kFixedMenuPictureCount> fixed{};
    fixed[kMenuPictureSettings] = PictureId::Settings;
    fixed[kMenuPictureExit] = PictureId::Exit;
    fixed[kMenuPictureFolder] = PictureId::Folder;
    return fixed;
}

}  // namespace

HICON CreatePictureIcon(PictureId id, int size) { return IconFromPicture(DrawPicture(id, size)); }

HIMAGELIST CreateMenuImageList(int size) {
    OwnedImageList list(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, kFixedMenuPictureCount, 8));
    if (!list) return nullptr;
    for (PictureId id : FixedMenuPictures()) {
        const OwnedIcon icon(CreatePictureIcon(id, size));
        if (!icon || ImageList_AddIcon(list.get(), icon.get()) < 0) return nullptr;
    }
    return list.release();
}

}  // namespace kestrin
