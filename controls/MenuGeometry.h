#pragma once

#include <array>
#include <vector>

#include "controls/Colour.h"
#include "controls/Geometry.h"

namespace korvana {

// Width of the frame around a popup, on each side.
inline constexpr int kMenuFrame = 3;

// Where a popup of `size` opens for the point `at`: at the point when it
// fits, else mirrored to the left, above, or both, so it stays on `desktop`.
Point PlacePopup(Point at, Size size, const Rect& desktop);

// Where a submenu opens beside its parent row `row` (screen coordinates,
// the parent's band included): right going down, right going up, left going
// down, left going up; the last is taken even when nothing fits.
Point PlaceSubmenu(const Rect& row, Size size, const Rect& desktop);

// One horizontal strip of the band's gradient, [top, bottom) in band
// coordinates; the first strip is the bottom one.
struct BandStrip {
    int top = 0;
    int bottom = 0;
    Rgb colour;
};
// Strips of height/128 pixels (at least 1) from the bottom colour at the
// bottom to the top colour at the top; the last strip may reach above the
// band and is clipped when drawn.
std::vector<BandStrip> BandStrips(int height, Rgb top, Rgb bottom);

// The right-pointing triangle of a row with a submenu, for a check-mark
// width `checkMark`.
std::array<Point, 3> SubmenuArrow(const Rect& row, int checkMark);

// The natural size of one row before the rows are made equally wide.
struct MenuRowSize {
    int width = 0;
    int height = 0;
};

struct MenuLayout {
    std::vector<Rect> rows;  // in item-list coordinates
    Rect list;               // the item list in popup coordinates
    Size popup;
};
// Stacks the rows, makes them as wide as the widest plus the check-mark
// width, and sizes the popup around the band and the rows.
MenuLayout LayOutMenu(const std::vector<MenuRowSize>& rows, int checkMark, int bandWidth);

// Where an image of `image` size sits centred in the check square `square`,
// cut to the square when larger.
Rect CentreInSquare(const Rect& square, Size image);

}  // namespace korvana
