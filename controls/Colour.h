#pragma once

#include <cstdint>

namespace korvana {

// One 24-bit colour, as the drawn controls compute and compare them.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The desktop's colour scheme as the controls use it. The widgets fill it
// from their palette; the arithmetic only ever sees these values.
struct SystemColours {
    Rgb face{240, 240, 240};             // button face
    Rgb shadow{160, 160, 160};           // button shadow
    Rgb darkShadow{105, 105, 105};       // outer shadow of 3-D edges
    Rgb light{227, 227, 227};            // inner light of 3-D edges
    Rgb buttonHighlight{255, 255, 255};  // button highlight
    Rgb buttonText{0, 0, 0};
    Rgb greyText{120, 120, 120};
    Rgb highlight{48, 140, 198};  // selection background
    Rgb highlightText{255, 255, 255};
    Rgb menu{240, 240, 240};
    Rgb menuText{0, 0, 0};
};

}  // namespace korvana
