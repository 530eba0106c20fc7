#include "controls/Shade.h"

#include <algorithm>

#include "controls/ShadeRandom.h"

namespace korvana {
namespace {

std::uint8_t Mix(int from, int to, int weight) {
    return static_cast<std::uint8_t>((from * (128 - weight) + to * weight) / 128);
}

Rgb MixColour(Rgb from, Rgb to, int weight) {
    return Rgb{Mix(from.r, to.r, weight), Mix(from.g, to.g, weight), Mix(from.b, to.b, weight)};
}

void SetPalette(DibSurface& surface, const std::array<Rgb, 256>& palette) {
    for (std::size_t i = 0; i < palette.size(); ++i) {
        surface.SetPaletteEntry(i, palette[i]);
    }
}

// A dotted line of shadow and highlight, starting with shadow.
void FillDotted(DibSurface& line) {
    for (int y = 0; y < line.Height(); ++y) {
        for (int x = 0; x < line.Width(); ++x) {
            line.SetPixelIndex(x, y, (x + y) % 2 == 0 ? 0 : 255);
        }
    }
}

// Divisors below guard against sizes beyond the generator's range, where the
// plain quotient would be zero.
int Step(int extent) {
    return std::max(1, ShadeRandom::kMax / std::max(1, extent));
}

void DrawStreaks(DibSurface& shade, ShadeRandom& random) {
    const int w = shade.Width();
    const int h = shade.Height();
    for (int n = 0; n < 200; ++n) {
        const int x0 = random.Next() / Step(w);
        const int y0 = random.Next() / Step(h);
        const int length = random.Next() / Step(std::min(w, h));
        const int value = random.Next() / 819;
        for (int k = 0; k < length / 2; ++k) {
            if (x0 - k > 0 && y0 + k < h) {
                shade.SetPixelIndex(x0 - k, y0 + k, value);
            }
            if (x0 + k < w && y0 - k > 0) {
                shade.SetPixelIndex(w - x0 + k, y0 - k, value);
            }
        }
    }
}

// Lighter towards the top left: the bottom row is stored first, so the row
// number grows upwards.
void AddBrushedSlope(DibSurface& shade, int granularity, ShadeRandom& random) {
    const int w = shade.Width();
    const int h = shade.Height();
    const int noise = ShadeRandom::kMax / std::max(2 * granularity, 1);
    const int slope = (215 - 2 * granularity) / 2;
    std::vector<std::uint8_t>& bits = shade.Bits();
    for (int j = 0; j < h; ++j) {
        std::uint8_t* row = bits.data() + static_cast<std::size_t>(j) * shade.RowBytes();
        for (int i = 0; i < w; ++i) {
            const int add = j * slope / h + slope * (w - i) / w + random.Next() / noise;
            row[i] = static_cast<std::uint8_t>(row[i] + add);
        }
    }
}

void FillNoise(DibSurface& shade, int granularity, ShadeRandom& random) {
    const int noise = ShadeRandom::kMax / std::max(2 * granularity, 1);
    std::vector<std::uint8_t>& bits = shade.Bits();
    for (int j = 0; j < shade.Height(); ++j) {
        std::uint8_t* row = bits.data() + static_cast<std::size_t>(j) * shade.RowBytes();
        for (int i = 0; i < shade.Width(); ++i) {
            row[i] = static_cast<std::uint8_t>(random.Next() / noise - granularity - 128);
        }
    }
}

}  // namespace

std::array<Rgb, 256> ShadePalette(Rgb shadow, Rgb face, Rgb highlight) {
    std::array<Rgb, 256> palette{};
    for (int i = 0; i <= 128; ++i) {
        palette[static_cast<std::size_t>(i)] = MixColour(shadow, face, i);
    }
    for (int i = 1; i <= 128; ++i) {
        palette[static_cast<std::size_t>(127 + i)] = MixColour(face, highlight, i);
    }
    return palette;
}

ButtonShades MakeButtonShades(const ShadeRequest& request, int width, int height, int margin,
                              const SystemColours& colours) {
    ButtonShades shades;
    if (width <= 0 || height <= 0) {
        return shades;
    }
    const int lineWidth = width - 2 * margin - 1;
    const int lineHeight = height - 2 * margin;
    shades.horizontalFocus.Create(lineWidth > 0 ? lineWidth : 1, 1, 8);
    shades.verticalFocus.Create(1, lineHeight > 0 ? lineHeight : 1, 8);
    shades.normal.Create(width, height, 8);

    const auto palette = ShadePalette(colours.shadow, colours.face, colours.buttonHighlight);
    SetPalette(shades.horizontalFocus, palette);
    SetPalette(shades.verticalFocus, palette);
    SetPalette(shades.normal, palette);
    shades.normal.BlendPalette(request.colour, request.colouring);
    FillDotted(shades.horizontalFocus);
    FillDotted(shades.verticalFocus);

    ShadeRandom random(request.seed);
    if (request.type == kBrushedShade) {
        shades.normal.Clear(0);
        DrawStreaks(shades.normal, random);
        AddBrushedSlope(shades.normal, request.granularity, random);
    } else {
        FillNoise(shades.normal, request.granularity, random);
    }

    shades.disabled = shades.normal;
    shades.hover = shades.normal;
    shades.hover.BlendPalette(colours.highlight, request.highlight);
    shades.pressed = shades.hover;
    return shades;
}

}  // namespace korvana
