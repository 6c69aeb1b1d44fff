#include "base/pictures.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace kestrin;

namespace {

const PictureId kAll[] = {PictureId::TrayIcon,  PictureId::Settings,   PictureId::Exit,
                          PictureId::Folder,    PictureId::ArrowUp,    PictureId::ArrowDown,
                          PictureId::ArrowLeft, PictureId::ArrowRight, PictureId::FolderGlyph};

int OpaqueInRow(const Picture& p, int y) {
    int n = 0;
    for (int x = 0; x < p.size; ++x) n += AlphaOf(p.At(x, y)) >= 128;
    return n;
}

double Luminance(std::uint32_t argb) { return 0.299 * RedOf(argb) + 0.587 * GreenOf(argb) + 0.114 * BlueOf(argb); }

}  // namespace

TEST(Pictures, EveryPictureIsDrawnAtAnySize) {
    for (PictureId id : kAll) {
        for (int size : {16, 32, 20}) {
            const Picture p = DrawPicture(id, size);
            ASSERT_EQ(p.size, size);
            ASSERT_EQ(p.pixels.size(), static_cast<std::size_t>(size * size));
            int opaque = 0;
            for (std::uint32_t px : p.pixels) {
                opaque += AlphaOf(px) == 255;
                // Transparent pixels carry no stray colour into the icon mask.
                if (AlphaOf(px) == 0) {
                    EXPECT_EQ(px, 0u);
                }
            }
            // Something substantial is drawn: at least a tenth of the square.
            EXPECT_GE(opaque, size * size / 10) << static_cast<int>(id) << " at " << size;
        }
    }
    EXPECT_THROW(DrawPicture(PictureId::Exit, 0), std::invalid_argument);
}

// Glyphs sit on buttons and in menus with air around them.
TEST(Pictures, GlyphsKeepAClearBorder) {
    const PictureId framed[] = {PictureId::Exit,      PictureId::ArrowUp,    PictureId::ArrowDown,
                                PictureId::ArrowLeft, PictureId::ArrowRight, PictureId::FolderGlyph};
    for (PictureId id : framed) {
        const Picture p = DrawPicture(id);
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(AlphaOf(p.At(i, 0)), 0u) << static_cast<int>(id) << " top " << i;
            EXPECT_EQ(AlphaOf(p.At(i, 15)), 0u) << static_cast<int>(id) << " bottom " << i;
            EXPECT_EQ(AlphaOf(p.At(0, i)), 0u) << static_cast<int>(id) << " left " << i;
            EXPECT_EQ(AlphaOf(p.At(15, i)), 0u) << static_cast<int>(id) << " right " << i;
        }
    }
}

// The tray icon is a rounded tile: its corners are see-through, its edges solid, and
// it stands out from a grey taskbar.
TEST(Pictures, TrayIconIsARoundedTileThatStandsOut) {
    const Picture p = DrawPicture(PictureId::TrayIcon);
    for (auto [x, y] : {std::pair{0, 0}, {15, 0}, {0, 15}, {15, 15}})
        EXPECT_LT(AlphaOf(p.At(x, y)), 128u) << x << "," << y;
    for (auto [x, y] : {std::pair{8, 0}, {0, 8}, {15, 8}, {8, 15}})
        EXPECT_EQ(AlphaOf(p.At(x, y)), 255u) << x << "," << y;

    int distinct = 0, bright = 0;
    for (std::uint32_t px : p.pixels) {
        if (AlphaOf(px) < 255) continue;
        distinct += std::abs(Luminance(px) - 192.0) > 50;
        bright += Luminance(px) > 220;
    }
    EXPECT_GE(distinct, 16 * 16 / 2);
    EXPECT_GE(bright, 12);  // the white glyph on the tile
}

TEST(Pictures, ExitIsARedSymmetricCross) {
    const Picture p = DrawPicture(PictureId::Exit);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const std::uint32_t px = p.At(x, y);
            if (AlphaOf(px) == 0) continue;
            EXPECT_GT(RedOf(px), 2 * GreenOf(px) + 20) << x << "," << y;
            EXPECT_GT(RedOf(px), 2 * BlueOf(px) + 20) << x << "," << y;
            EXPECT_EQ(px, p.At(15 - x, y)) << x << "," << y;
            EXPECT_EQ(px, p.At(x, 15 - y)) << x << "," << y;
        }
    }
    // Solid on both diagonals, open in the middle of each edge.
    EXPECT_EQ(AlphaOf(p.At(7, 7)), 255u);
    EXPECT_EQ(AlphaOf(p.At(4, 4)), 255u);
    EXPECT_EQ(AlphaOf(p.At(11, 4)), 255u);
    EXPECT_EQ(AlphaOf(p.At(8, 2)), 0u);
    EXPECT_EQ(AlphaOf(p.At(2, 8)), 0u);
}

TEST(Pictures, ArrowsAreMirrorImagesPointingTheirWay) {
    const Picture up = DrawPicture(PictureId::ArrowUp);
    const Picture down = DrawPicture(PictureId::ArrowDown);
    const Picture left = DrawPicture(PictureId::ArrowLeft);
    const Picture right = DrawPicture(PictureId::ArrowRight);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(up.At(x, y), down.At(x, 15 - y)) << x << "," << y;
            EXPECT_EQ(left.At(x, y), right.At(15 - x, y)) << x << "," << y;
            EXPECT_EQ(up.At(x, y), left.At(y, x)) << x << "," << y;
            EXPECT_EQ(up.At(x, y), up.At(15 - x, y)) << x << "," << y;
        }
    }
    // The point is narrow and the shaft wide: the up arrow's first drawn row is narrower
    // than its last one.
    int first = 0, last = 15;
    while (first < 16 && OpaqueInRow(up, first) == 0) ++first;
    while (last >= 0 && OpaqueInRow(up, last) == 0) --last;
    ASSERT_LT(first, last);
    EXPECT_LT(OpaqueInRow(up, first), OpaqueInRow(up, last));
    // The head is wider than the shaft.
    int widest = 0;
    for (int y = first; y <= last; ++y) widest = std::max(widest, OpaqueInRow(up, y));
    EXPECT_GT(widest, OpaqueInRow(up, last));
}

TEST(Pictures, FoldersAreYellowAndTheSettingsSheetHasAPen) {
    for (PictureId id : {PictureId::Folder, PictureId::FolderGlyph}) {
        const Picture p = DrawPicture(id);
        int opaque = 0, yellow = 0;
        for (std::uint32_t px : p.pixels) {
            if (AlphaOf(px) < 255) continue;
            ++opaque;
            yellow += RedOf(px) > 180 && GreenOf(px) > 130 && BlueOf(px) < 140;
        }
        EXPECT_GT(yellow * 2, opaque) << static_cast<int>(id);
    }
    const Picture settings = DrawPicture(PictureId::Settings);
    int yellow = 0, blue = 0;
    for (std::uint32_t px : settings.pixels) {
        if (AlphaOf(px) < 255) continue;
        yellow += RedOf(px) > 180 && GreenOf(px) > 130 && BlueOf(px) < 140;
        blue += BlueOf(px) > 150 && RedOf(px) < 100;
    }
    EXPECT_GE(yellow, 30);
    EXPECT_GE(blue, 8);
}
