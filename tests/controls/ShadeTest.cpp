#include <gtest/gtest.h>

#include <set>

#include "controls/Shade.h"
#include "controls/ShadeRandom.h"

namespace korvana {
namespace {

SystemColours TestColours() {
    SystemColours c;
    c.shadow = Rgb{100, 50, 0};
    c.face = Rgb{200, 150, 100};
    c.buttonHighlight = Rgb{255, 255, 255};
    c.highlight = Rgb{0, 0, 200};
    return c;
}

// The generator after the 800 draws of the 200 streaks.
ShadeRandom AfterStreaks(std::uint32_t seed) {
    ShadeRandom random(seed);
    for (int i = 0; i < 800; ++i) {
        random.Next();
    }
    return random;
}

TEST(ShadeTest, GeneratorIsSeededAndStaysInRange) {
    ShadeRandom a(7);
    ShadeRandom b(7);
    ShadeRandom c(8);
    bool differs = false;
    for (int i = 0; i < 1000; ++i) {
        const int x = a.Next();
        EXPECT_EQ(x, b.Next());
        EXPECT_GE(x, 0);
        EXPECT_LE(x, 32767);
        differs = differs || x != c.Next();
    }
    EXPECT_TRUE(differs);
}

TEST(ShadeTest, PaletteRunsFromShadowOverFaceToHighlight) {
    const auto palette = ShadePalette(Rgb{100, 50, 0}, Rgb{200, 150, 100}, Rgb{255, 255, 255});
    EXPECT_EQ(palette[0], (Rgb{100, 50, 0}));
    EXPECT_EQ(palette[64], (Rgb{150, 100, 50}));
    EXPECT_EQ(palette[127], (Rgb{199, 149, 99}));
    // Entry 128 lies one step past the face colour.
    EXPECT_EQ(palette[128], (Rgb{200, 150, 101}));
    EXPECT_EQ(palette[255], (Rgb{255, 255, 255}));
}

TEST(ShadeTest, SameSeedAndSizeGiveTheSameBytes) {
    ShadeRequest request;
    const auto first = MakeButtonShades(request, 40, 20, 4, TestColours());
    const auto second = MakeButtonShades(request, 40, 20, 4, TestColours());
    EXPECT_EQ(first.normal.Bits(), second.normal.Bits());
    request.seed = 2;
    const auto other = MakeButtonShades(request, 40, 20, 4, TestColours());
    EXPECT_NE(first.normal.Bits(), other.normal.Bits());
    request.type = kNoiseShade;
    EXPECT_EQ(MakeButtonShades(request, 40, 20, 4, TestColours()).normal.Bits(),
              MakeButtonShades(request, 40, 20, 4, TestColours()).normal.Bits());
}

TEST(ShadeTest, NoiseScattersEvenlyAroundTheFaceEntry) {
    // The face colour is palette entry 128; the noise must stay within the
    // granularity of it on both sides, use the whole spread, and centre on
    // it. A noise that wrapped the wrong way would land near 0 or 255.
    for (const int granularity : {2, 8, 20}) {
        ShadeRequest request;
        request.type = kNoiseShade;
        request.granularity = granularity;
        request.seed = 99;
        const auto shades = MakeButtonShades(request, 61, 40, 4, TestColours());
        const auto rowBytes = static_cast<std::size_t>(shades.normal.RowBytes());
        std::set<int> seen;
        long sum = 0;
        for (std::size_t j = 0; j < 40; ++j) {
            for (std::size_t i = 0; i < 61; ++i) {
                const int stored = shades.normal.Bits()[j * rowBytes + i];
                ASSERT_GE(stored, 128 - granularity) << granularity;
                ASSERT_LE(stored, 128 + granularity) << granularity;
                seen.insert(stored);
                sum += stored;
            }
            // Row padding is left alone.
            for (std::size_t i = 61; i < rowBytes; ++i) {
                EXPECT_EQ(shades.normal.Bits()[j * rowBytes + i], 0);
            }
        }
        // The top entry takes the very last draws of the generator, so it
        // may be missing from a small surface; every other one is there.
        EXPECT_TRUE(seen.contains(128 - granularity)) << granularity;
        EXPECT_GE(static_cast<int>(seen.size()), 2 * granularity) << granularity;
        EXPECT_NEAR(static_cast<double>(sum) / (61 * 40), 128.0, 1.0) << granularity;
    }
}

TEST(ShadeTest, BrushedSlopeIsLighterTowardsTheTopLeft) {
    // One pixel wide: streaks are at most one pixel long, so none is drawn
    // and every pixel is the slope plus the noise.
    ShadeRequest request;
    request.seed = 5;
    const auto shades = MakeButtonShades(request, 1, 4, 0, TestColours());
    ShadeRandom random = AfterStreaks(5);
    for (int j = 0; j < 4; ++j) {
        const int expected = j * 99 / 4 + 99 + random.Next() / 2047;
        EXPECT_EQ(shades.normal.Bits()[static_cast<std::size_t>(j * 4)], expected);
    }
    EXPECT_GT(shades.normal.PixelIndex(0, 0), shades.normal.PixelIndex(0, 3));

    const auto wide = MakeButtonShades(request, 4, 1, 0, TestColours());
    random = AfterStreaks(5);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(wide.normal.Bits()[static_cast<std::size_t>(i)],
                  99 * (4 - i) / 4 + random.Next() / 2047);
    }
}

TEST(ShadeTest, BrushedSumsWrapModulo256) {
    // A negative granularity steepens the slope past 255 at the top.
    ShadeRequest request;
    request.seed = 11;
    request.granularity = -60;
    const auto shades = MakeButtonShades(request, 1, 4, 0, TestColours());
    ShadeRandom random = AfterStreaks(11);
    const int slopes[] = {167, 208, 250, 292};
    for (int j = 0; j < 4; ++j) {
        const int expected = (slopes[j] + random.Next() / 32767) % 256;
        EXPECT_EQ(shades.normal.Bits()[static_cast<std::size_t>(j * 4)], expected);
    }
    EXPECT_LT(shades.normal.PixelIndex(0, 0), 40);
}

TEST(ShadeTest, BrushedStreaksStayInsideTheBitmap) {
    ShadeRequest request;
    request.granularity = 8;
    for (std::uint32_t seed = 1; seed < 20; ++seed) {
        request.seed = seed;
        const auto shades = MakeButtonShades(request, 37, 23, 4, TestColours());
        ASSERT_EQ(shades.normal.Bits().size(), static_cast<std::size_t>(40 * 23));
        for (int j = 0; j < 23; ++j) {
            for (int i = 37; i < 40; ++i) {
                EXPECT_EQ(shades.normal.Bits()[static_cast<std::size_t>(j * 40 + i)], 0);
            }
        }
    }
}

TEST(ShadeTest, StatesDeriveFromTheNormalShade) {
    ShadeRequest request;
    request.highlight = 10;
    request.colouring = 20;
    request.colour = Rgb{255, 0, 0};
    const SystemColours colours = TestColours();
    const auto shades = MakeButtonShades(request, 30, 12, 4, colours);

    DibSurface expectedNormal;
    expectedNormal.Create(1, 1, 8);
    const auto palette = ShadePalette(colours.shadow, colours.face, colours.buttonHighlight);
    for (std::size_t i = 0; i < 256; ++i) {
        expectedNormal.SetPaletteEntry(i, palette[i]);
    }
    expectedNormal.BlendPalette(Rgb{255, 0, 0}, 20);
    DibSurface expectedHover = expectedNormal;
    expectedHover.BlendPalette(colours.highlight, 10);
    for (std::size_t i : {0u, 128u, 255u}) {
        EXPECT_EQ(shades.normal.PaletteEntry(i), expectedNormal.PaletteEntry(i));
        EXPECT_EQ(shades.disabled.PaletteEntry(i), expectedNormal.PaletteEntry(i));
        EXPECT_EQ(shades.hover.PaletteEntry(i), expectedHover.PaletteEntry(i));
        EXPECT_EQ(shades.pressed.PaletteEntry(i), expectedHover.PaletteEntry(i));
        // The focus lines keep the plain palette.
        EXPECT_EQ(shades.horizontalFocus.PaletteEntry(i), palette[i]);
    }
    EXPECT_EQ(shades.hover.Bits(), shades.normal.Bits());
    EXPECT_EQ(shades.pressed.Bits(), shades.normal.Bits());
    EXPECT_EQ(shades.disabled.Bits(), shades.normal.Bits());
}

TEST(ShadeTest, FocusLinesAreDottedAndInset) {
    ShadeRequest request;
    const auto shades = MakeButtonShades(request, 30, 12, 4, TestColours());
    EXPECT_EQ(shades.horizontalFocus.Width(), 30 - 8 - 1);
    EXPECT_EQ(shades.horizontalFocus.Height(), 1);
    EXPECT_EQ(shades.verticalFocus.Width(), 1);
    EXPECT_EQ(shades.verticalFocus.Height(), 12 - 8);
    EXPECT_EQ(shades.horizontalFocus.PixelIndex(0, 0), 0);
    EXPECT_EQ(shades.horizontalFocus.PixelIndex(1, 0), 255);
    EXPECT_EQ(shades.horizontalFocus.PixelIndex(2, 0), 0);
    EXPECT_EQ(shades.verticalFocus.PixelIndex(0, 0), 0);
    EXPECT_EQ(shades.verticalFocus.PixelIndex(0, 1), 255);

    const auto tiny = MakeButtonShades(request, 6, 6, 4, TestColours());
    EXPECT_EQ(tiny.horizontalFocus.Width(), 1);
    EXPECT_EQ(tiny.verticalFocus.Height(), 1);
}

TEST(ShadeTest, NoAreaGivesNoShades) {
    ShadeRequest request;
    EXPECT_FALSE(MakeButtonShades(request, 0, 10, 4, TestColours()).normal.Valid());
    EXPECT_FALSE(MakeButtonShades(request, 10, -3, 4, TestColours()).hover.Valid());
    // Larger than the generator's range: still built, without dividing by zero.
    EXPECT_TRUE(MakeButtonShades(request, 40000, 1, 4, TestColours()).normal.Valid());
}

}  // namespace
}  // namespace korvana
