#include "controls/MenuGeometry.h"

#include <algorithm>

namespace korvana {

Point PlacePopup(Point at, Size size, const Rect& desktop) {
    const bool fitsRight = at.x + size.width < desktop.right;
    const bool fitsBelow = at.y + size.height < desktop.bottom;
    const bool fitsLeft = at.x - size.width > desktop.left;
    const bool fitsAbove = at.y - size.height > desktop.top;
    if (fitsRight && fitsBelow) {
        return at;
    }
    if (fitsLeft && fitsBelow) {
        return {at.x - size.width, at.y};
    }
    if (fitsRight && fitsAbove) {
        return {at.x, at.y - size.height};
    }
    if (fitsLeft && fitsAbove) {
        return {at.x - size.width, at.y - size.height};
    }
    return at;
}

Point PlaceSubmenu(const Rect& row, Size size, const Rect& desktop) {
    const std::array<Point, 4> candidates{{
        {row.right, row.top},
        {row.right, row.bottom - size.height},
        {row.left - size.width, row.top},
        {row.left - size.width, row.bottom - size.height},
    }};
    for (const Point& p : candidates) {
        if (desktop.ContainsRect(Rect{p.x, p.y, p.x + size.width, p.y + size.height})) {
            return p;
        }
    }
    return candidates.back();
}

std::vector<BandStrip> BandStrips(int height, Rgb top, Rgb bottom) {
    std::vector<BandStrip> strips;
    if (height <= 0) {
        return strips;
    }
    const int s = std::max(1, height / 128);
    // The last strip can pass the top by a little; the colour stops at the
    // top colour instead of running past it.
    auto channel = [&](int b, int t, int k) {
        return static_cast<std::uint8_t>(std::clamp(b + (t - b) * (k * s) / height, 0, 255));
    };
    for (int k = 1; s * (k - 1) < height; ++k) {
        strips.push_back(BandStrip{height - s * k, height - s * (k - 1),
                                   Rgb{channel(bottom.r, top.r, k), channel(bottom.g, top.g, k),
                                       channel(bottom.b, top.b, k)}});
    }
    return strips;
}

std::array<Point, 3> SubmenuArrow(const Rect& row, int checkMark) {
    const int m = checkMark;
    const int a = 3 * m / 10;
    const int d = (m - 2 * a) / 2;
    const int left = row.right - 3 * m / 4;
    const int top = row.top + (row.Height() - m) / 2;
    return {{{left + a, top + a}, {left + a + d, top + a + d}, {left + a, top + a + 2 * d}}};
}

MenuLayout LayOutMenu(const std::vector<MenuRowSize>& rows, int checkMark, int bandWidth) {
    MenuLayout layout;
    int widest = 0;
    for (const MenuRowSize& row : rows) {
        widest = std::max(widest, row.width);
    }
    const int rowWidth = widest + checkMark;
    int y = 0;
    for (const MenuRowSize& row : rows) {
        layout.rows.push_back(Rect{0, y, rowWidth, y + row.height});
        y += row.height;
    }
    const int rowsHeight = layout.rows.empty() ? 0 : y - layout.rows.front().top;
    layout.popup = Size{bandWidth + rowWidth + 2 * kMenuFrame, rowsHeight + 2 * kMenuFrame};
    layout.list = Rect{kMenuFrame + bandWidth, kMenuFrame, kMenuFrame + bandWidth + rowWidth,
                       kMenuFrame + rowsHeight};
    return layout;
}

Rect CentreInSquare(const Rect& square, Size image) {
    const int w = std::min(image.width, square.Width());
    const int h = std::min(image.height, square.Height());
    const int left = square.left + (square.Width() - w) / 2;
    const int top = square.top + (square.Height() - h) / 2;
    return Rect{left, top, left + w, top + h};
}

}  // namespace korvana
