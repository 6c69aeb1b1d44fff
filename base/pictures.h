// The program's own pictures, drawn in code: no image files ship with Kestrin.
#pragma once

#include <cstdint>
#include <vector>

namespace kestrin {

enum class PictureId {
    TrayIcon,  // the program's icon in the notification area
    Settings,  // menu picture: a pen over a yellow grid
    Exit,      // menu picture: a red cross
    Folder,    // menu picture: a yellow open folder (submenus)
    ArrowUp,   // glyphs of the move buttons
    ArrowDown,
    ArrowLeft,
    ArrowRight,
    FolderGlyph,  // glyph of the browse buttons: a small closed folder
};

// Indexes of the menu picture list's fixed pictures; the launcher menu's own pictures follow them.
constexpr int kMenuPictureSettings = 0;
constexpr int kMenuPictureExit = 1;
constexpr int kMenuPictureFolder = 2;
constexpr int kFixedMenuPictureCount = 3;

// A square picture; pixels are 0xAARRGGBB, straight (not premultiplied) alpha, rows top down.
struct Picture {
    int size = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * size + x)]; }
};

// Draws the picture at size x size pixels (16 is the native size; larger sizes are
// scaled drawings, not blown-up pixels). size must be 1 or more.
Picture DrawPicture(PictureId id, int size = 16);

constexpr std::uint32_t AlphaOf(std::uint32_t argb) { return argb >> 24; }
constexpr std::uint32_t RedOf(std::uint32_t argb) { return (argb >> 16) & 0xFF; }
constexpr std::uint32_t GreenOf(std::uint32_t argb) { return (argb >> 8) & 0xFF; }
constexpr std::uint32_t BlueOf(std::uint32_t argb) { return argb & 0xFF; }

}  // namespace kestrin
