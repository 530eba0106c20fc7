#pragma once

#include <array>
#include <cstdint>

#include "controls/Colour.h"
#include "controls/DibSurface.h"

namespace korvana {

// The two shade patterns the buttons use: brushed metal, and a fine grain
// around the face colour (any type other than brushed).
inline constexpr int kBrushedShade = 8;
inline constexpr int kNoiseShade = 9;

struct ShadeRequest {
    int type = kBrushedShade;
    int granularity = 8;  // strength of the noise
    int highlight = 10;   // percent towards the highlight colour when hovered
    int colouring = 0;    // percent towards `colour` for every state
    Rgb colour{};
    std::uint32_t seed = 1;  // same seed and size, same shade
};

// Every bitmap one button draws its background and focus lines from.
struct ButtonShades {
    DibSurface normal;
    DibSurface pressed;
    DibSurface disabled;
    DibSurface hover;
    DibSurface horizontalFocus;
    DibSurface verticalFocus;
};

// 256 entries running from the shadow colour (0) over the face colour to the
// highlight colour (255).
std::array<Rgb, 256> ShadePalette(Rgb shadow, Rgb face, Rgb highlight);

// Builds all shades for a button of width x height whose focus lines are
// inset by `margin`. A button without area gets empty shades.
ButtonShades MakeButtonShades(const ShadeRequest& request, int width, int height, int margin,
                              const SystemColours& colours);

}  // namespace korvana
