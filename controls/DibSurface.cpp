#include "controls/DibSurface.h"

#include <algorithm>

namespace korvana {

int NormaliseBitCount(int bitCount) {
    if (bitCount <= 1) {
        return 1;
    }
    if (bitCount <= 4) {
        return 4;
    }
    if (bitCount <= 8) {
        return 8;
    }
    return 24;
}

int DibRowBytes(int width, int bitCount) {
    const long long bits = static_cast<long long>(width) * bitCount;
    return static_cast<int>((bits + 31) / 32 * 4);
}

void DibSurface::Create(int width, int height, int bitCount) {
    *this = DibSurface();
    if (width <= 0 || height <= 0) {
        return;
    }
    width_ = width;
    height_ = height;
    bitCount_ = NormaliseBitCount(bitCount);
    rowBytes_ = DibRowBytes(width, bitCount_);
    if (bitCount_ <= 8) {
        palette_.assign(std::size_t{1} << bitCount_, Rgb{});
    }
    bits_.assign(static_cast<std::size_t>(rowBytes_) * static_cast<std::size_t>(height_), 0);
}

void DibSurface::SetPaletteEntry(std::size_t index, Rgb colour) {
    if (index < palette_.size()) {
        palette_[index] = colour;
    }
}

Rgb DibSurface::PaletteEntry(std::size_t index) const {
    return index < palette_.size() ? palette_[index] : Rgb{};
}

std::size_t DibSurface::Offset(int x, int y) const {
    const int storedRow = height_ - 1 - y;
    return static_cast<std::size_t>(storedRow) * static_cast<std::size_t>(rowBytes_) +
           static_cast<std::size_t>(x) * static_cast<std::size_t>(bitCount_) / 8;
}

void DibSurface::SetPixelIndex(int x, int y, int index) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || palette_.empty()) {
        return;
    }
    std::uint8_t& byte = bits_[Offset(x, y)];
    if (bitCount_ == 8) {
        byte = static_cast<std::uint8_t>(index);
        return;
    }
    // 1 and 4 bits: the leftmost pixel sits in the byte's high bits.
    const int perByte = 8 / bitCount_;
    const int shift = (perByte - 1 - x % perByte) * bitCount_;
    const int mask = ((1 << bitCount_) - 1) << shift;
    byte = static_cast<std::uint8_t>((byte & ~mask) | ((index << shift) & mask));
}

int DibSurface::PixelIndex(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || palette_.empty()) {
        return 0;
    }
    const std::uint8_t byte = bits_[Offset(x, y)];
    if (bitCount_ == 8) {
        return byte;
    }
    const int perByte = 8 / bitCount_;
    const int shift = (perByte - 1 - x % perByte) * bitCount_;
    return (byte >> shift) & ((1 << bitCount_) - 1);
}

Rgb DibSurface::PixelColour(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return Rgb{};
    }
    if (!palette_.empty()) {
        return palette_[static_cast<std::size_t>(PixelIndex(x, y))];
    }
    // 24-bit pixels are stored blue, green, red.
    const std::size_t at = Offset(x, y);
    return Rgb{bits_[at + 2], bits_[at + 1], bits_[at]};
}

void DibSurface::Clear(std::uint8_t value) {
    std::fill(bits_.begin(), bits_.end(), value);
}

void DibSurface::BlendPalette(Rgb colour, int percent) {
    const int p = std::clamp(percent, 0, 100);
    auto mix = [p](std::uint8_t to, std::uint8_t from) {
        return static_cast<std::uint8_t>((to * p + from * (100 - p)) / 100);
    };
    for (Rgb& entry : palette_) {
        entry = Rgb{mix(colour.r, entry.r), mix(colour.g, entry.g), mix(colour.b, entry.b)};
    }
}

}  // namespace korvana
