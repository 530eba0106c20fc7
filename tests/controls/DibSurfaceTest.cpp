#include <gtest/gtest.h>

#include "controls/DibSurface.h"

namespace korvana {
namespace {

TEST(DibSurfaceTest, NormalisesBitCountsAndSizesPalettesAndRows) {
    EXPECT_EQ(NormaliseBitCount(0), 1);
    EXPECT_EQ(NormaliseBitCount(1), 1);
    EXPECT_EQ(NormaliseBitCount(2), 4);
    EXPECT_EQ(NormaliseBitCount(4), 4);
    EXPECT_EQ(NormaliseBitCount(5), 8);
    EXPECT_EQ(NormaliseBitCount(8), 8);
    EXPECT_EQ(NormaliseBitCount(9), 24);
    EXPECT_EQ(NormaliseBitCount(32), 24);

    // Rows are whole 32-bit words.
    EXPECT_EQ(DibRowBytes(1, 1), 4);
    EXPECT_EQ(DibRowBytes(33, 1), 8);
    EXPECT_EQ(DibRowBytes(3, 8), 4);
    EXPECT_EQ(DibRowBytes(5, 8), 8);
    EXPECT_EQ(DibRowBytes(3, 24), 12);
    EXPECT_EQ(DibRowBytes(9, 4), 8);

    DibSurface surface;
    surface.Create(5, 3, 3);
    EXPECT_EQ(surface.PixelBits(), 4);
    EXPECT_EQ(surface.PaletteSize(), 16u);
    surface.Create(5, 3, 7);
    EXPECT_EQ(surface.PaletteSize(), 256u);
    EXPECT_EQ(surface.Bits().size(), 3u * 8u);
    surface.Create(5, 3, 16);
    EXPECT_EQ(surface.PaletteSize(), 0u);
    surface.Create(5, 3, 1);
    EXPECT_EQ(surface.PaletteSize(), 2u);
}

TEST(DibSurfaceTest, CreateDropsContentAndRefusesEmptySizes) {
    DibSurface surface;
    EXPECT_FALSE(surface.Valid());
    surface.Create(4, 4, 8);
    surface.SetPaletteEntry(3, Rgb{1, 2, 3});
    surface.SetPixelIndex(1, 1, 3);
    surface.Create(4, 4, 8);
    EXPECT_EQ(surface.PixelIndex(1, 1), 0);
    EXPECT_EQ(surface.PaletteEntry(3), Rgb{});
    surface.Create(0, 4, 8);
    EXPECT_FALSE(surface.Valid());
    surface.Create(4, -1, 8);
    EXPECT_FALSE(surface.Valid());
}

TEST(DibSurfaceTest, PixelsCountFromTheTopButAreStoredBottomUp) {
    DibSurface surface;
    surface.Create(2, 3, 8);
    surface.SetPixelIndex(1, 0, 7);  // top row
    surface.SetPixelIndex(0, 2, 9);  // bottom row
    const int row = surface.RowBytes();
    EXPECT_EQ(surface.Bits()[static_cast<std::size_t>(2 * row + 1)], 7);
    EXPECT_EQ(surface.Bits()[0], 9);
    EXPECT_EQ(surface.PixelIndex(1, 0), 7);

    // Outside the bitmap: ignored.
    surface.SetPixelIndex(2, 0, 5);
    surface.SetPixelIndex(0, 3, 5);
    surface.SetPixelIndex(-1, 0, 5);
    int sum = 0;
    for (auto b : surface.Bits()) {
        sum += b;
    }
    EXPECT_EQ(sum, 16);
}

TEST(DibSurfaceTest, PacksSmallDepthsHighBitsFirst) {
    DibSurface mono;
    mono.Create(9, 1, 1);
    mono.SetPixelIndex(1, 0, 1);
    mono.SetPixelIndex(8, 0, 1);
    EXPECT_EQ(mono.Bits()[0], 0x40);
    EXPECT_EQ(mono.Bits()[1], 0x80);
    EXPECT_EQ(mono.PixelIndex(8, 0), 1);
    EXPECT_EQ(mono.PixelIndex(7, 0), 0);

    DibSurface nibbles;
    nibbles.Create(3, 1, 4);
    nibbles.SetPixelIndex(0, 0, 0xA);
    nibbles.SetPixelIndex(1, 0, 0x5);
    nibbles.SetPixelIndex(2, 0, 0xF);
    EXPECT_EQ(nibbles.Bits()[0], 0xA5);
    EXPECT_EQ(nibbles.Bits()[1], 0xF0);
    nibbles.SetPixelIndex(1, 0, 0x3);
    EXPECT_EQ(nibbles.Bits()[0], 0xA3);
}

TEST(DibSurfaceTest, TrueColourHasNoPaletteToIndex) {
    DibSurface surface;
    surface.Create(2, 2, 24);
    surface.SetPixelIndex(0, 0, 5);
    surface.SetPaletteEntry(0, Rgb{1, 1, 1});
    for (auto b : surface.Bits()) {
        EXPECT_EQ(b, 0);
    }
    // Stored blue, green, red.
    const std::size_t top = static_cast<std::size_t>(surface.RowBytes());
    surface.Bits()[top + 0] = 30;
    surface.Bits()[top + 1] = 20;
    surface.Bits()[top + 2] = 10;
    EXPECT_EQ(surface.PixelColour(0, 0), (Rgb{10, 20, 30}));
}

TEST(DibSurfaceTest, PaletteEntriesBeyondThePaletteAreIgnored) {
    DibSurface surface;
    surface.Create(2, 2, 1);
    surface.SetPaletteEntry(1, Rgb{9, 9, 9});
    surface.SetPaletteEntry(2, Rgb{7, 7, 7});
    EXPECT_EQ(surface.PaletteEntry(1), (Rgb{9, 9, 9}));
    EXPECT_EQ(surface.PaletteEntry(2), Rgb{});
    surface.SetPixelIndex(1, 1, 1);
    EXPECT_EQ(surface.PixelColour(1, 1), (Rgb{9, 9, 9}));
}

TEST(DibSurfaceTest, ClearSetsEveryByteIncludingPadding) {
    DibSurface surface;
    surface.Create(3, 2, 8);
    surface.Clear(0x5A);
    ASSERT_EQ(surface.Bits().size(), 8u);
    for (auto b : surface.Bits()) {
        EXPECT_EQ(b, 0x5A);
    }
}

TEST(DibSurfaceTest, BlendMovesEachChannelByIntegerPercent) {
    DibSurface surface;
    surface.Create(1, 1, 1);
    surface.SetPaletteEntry(0, Rgb{200, 100, 0});
    surface.SetPaletteEntry(1, Rgb{10, 20, 30});
    surface.BlendPalette(Rgb{0, 0, 255}, 30);
    // (colour * 30 + old * 70) / 100, truncated.
    EXPECT_EQ(surface.PaletteEntry(0), (Rgb{140, 70, 76}));
    EXPECT_EQ(surface.PaletteEntry(1), (Rgb{7, 14, 97}));

    surface.BlendPalette(Rgb{1, 2, 3}, 0);
    EXPECT_EQ(surface.PaletteEntry(0), (Rgb{140, 70, 76}));
    surface.BlendPalette(Rgb{1, 2, 3}, 250);  // capped at 100
    EXPECT_EQ(surface.PaletteEntry(0), (Rgb{1, 2, 3}));
}

TEST(DibSurfaceTest, CopiesAreIndependent) {
    DibSurface surface;
    surface.Create(2, 2, 8);
    surface.SetPaletteEntry(4, Rgb{4, 4, 4});
    surface.SetPixelIndex(0, 0, 4);
    DibSurface copy = surface;
    copy.BlendPalette(Rgb{255, 255, 255}, 100);
    copy.SetPixelIndex(0, 0, 1);
    EXPECT_EQ(surface.PaletteEntry(4), (Rgb{4, 4, 4}));
    EXPECT_EQ(surface.PixelIndex(0, 0), 4);
    EXPECT_EQ(copy.Width(), 2);
}

}  // namespace
}  // namespace korvana
