#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "controls/Colour.h"

namespace korvana {

// A small device-independent bitmap with a palette: the memory behind the
// button shades. Rows are stored bottom-up, each padded to a multiple of 32
// bits, the way the shade arithmetic walks them.
class DibSurface {
  public:
    // Creates a surface of the given size; the bit count is normalised to 1,
    // 4, 8 or 24. Any previous content is dropped. A size that is not
    // positive leaves the surface empty.
    void Create(int width, int height, int bitCount);
    bool Valid() const { return width_ > 0 && height_ > 0; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    int PixelBits() const { return bitCount_; }
    int RowBytes() const { return rowBytes_; }
    std::size_t PaletteSize() const { return palette_.size(); }

    // Ignored for an index beyond the palette.
    void SetPaletteEntry(std::size_t index, Rgb colour);
    Rgb PaletteEntry(std::size_t index) const;

    // (x, y) with y counted from the top row. Ignored outside the bitmap or
    // when the surface has no palette.
    void SetPixelIndex(int x, int y, int index);
    int PixelIndex(int x, int y) const;
    // The colour at (x, y) from the top, through the palette when there is one.
    Rgb PixelColour(int x, int y) const;

    // Sets every pixel byte, padding included, to one value.
    void Clear(std::uint8_t value);

    // Moves each palette channel towards `colour` by `percent` (0 to 100).
    void BlendPalette(Rgb colour, int percent);

    // The pixel rows in memory order: the bottom row first.
    std::vector<std::uint8_t>& Bits() { return bits_; }
    const std::vector<std::uint8_t>& Bits() const { return bits_; }

  private:
    std::size_t Offset(int x, int y) const;

    int width_ = 0;
    int height_ = 0;
    int bitCount_ = 0;
    int rowBytes_ = 0;
    std::vector<Rgb> palette_;
    std::vector<std::uint8_t> bits_;
};

// Rounds a requested bit count to one the surface supports: 1, 4, 8 or 24.
int NormaliseBitCount(int bitCount);

// Bytes of one stored row: the row's bits rounded up to whole 32-bit words.
int DibRowBytes(int width, int bitCount);

}  // namespace korvana
