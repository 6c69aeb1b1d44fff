#include "app/pictures_win32.h"

#include <cstring>

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
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp || !bits) return nullptr;
    auto* out = static_cast<std::uint32_t*>(bits);
    for (std::size_t i = 0; i < pic.pixels.size(); ++i) {
        const std::uint32_t p = pic.pixels[i];
        const std::uint32_t a = AlphaOf(p);
        auto pre = [a](std::uint32_t v) { return (v * a + 127) / 255; };
        out[i] = (a << 24) | (pre(RedOf(p)) << 16) | (pre(GreenOf(p)) << 8) | pre(BlueOf(p));
    }
    GdiFlush();
    return bmp;
}

// A 1-bit mask: set (transparent) where the picture is less than half covered, for
// whatever draws the icon without its alpha channel.
HBITMAP CreateMask(const Picture& pic) {
    const int stride = ((pic.size + 15) / 16) * 2;  // rows are WORD-aligned
    std::vector<unsigned char> bits(static_cast<std::size_t>(stride * pic.size), 0);
    for (int y = 0; y < pic.size; ++y)
        for (int x = 0; x < pic.size; ++x)
            if (AlphaOf(pic.At(x, y)) < 128)
                bits[static_cast<std::size_t>(y * stride + x / 8)] |=
                    static_cast<unsigned char>(0x80 >> (x % 8));
    return CreateBitmap(pic.size, pic.size, 1, 1, bits.data());
}

HICON IconFromPicture(const Picture& pic) {
    HBITMAP colour = CreateArgbSection(pic);
    HBITMAP mask = CreateMask(pic);
    HICON icon = nullptr;
    if (colour && mask) {
        ICONINFO ii{};
        ii.fIcon = TRUE;
        ii.hbmColor = colour;
        ii.hbmMask = mask;
        icon = CreateIconIndirect(&ii);
    }
    // CreateIconIndirect copies both bitmaps.
    if (colour) DeleteObject(colour);
    if (mask) DeleteObject(mask);
    return icon;
}

}  // namespace

HICON CreatePictureIcon(PictureId id, int size) { return IconFromPicture(DrawPicture(id, size)); }

HBITMAP CreatePictureBitmap(PictureId id, int size) { return CreateArgbSection(DrawPicture(id, size)); }

HIMAGELIST CreateMenuImageList() {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, kFixedMenuPictureCount, 8);
    if (!list) return nullptr;
    const PictureId fixed[kFixedMenuPictureCount] = {PictureId::Settings, PictureId::Exit,
                                                     PictureId::Folder};
    for (PictureId id : fixed) {
        HICON icon = CreatePictureIcon(id);
        const int index = icon ? ImageList_AddIcon(list, icon) : -1;
        if (icon) DestroyIcon(icon);
        if (index < 0) {
            ImageList_Destroy(list);
            return nullptr;
        }
    }
    return list;
}

}  // namespace kestrin
