#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/Colour.h"
#include "controls/MenuTable.h"

namespace korvana {

// The character after the first single "&" of a menu text, if any.
std::optional<char32_t> MnemonicOf(std::string_view text);

// The text without its mnemonic marks: "&" removed, "&&" kept as one "&".
std::string WithoutMnemonics(std::string_view text);

// The outcome of typing `c` over a menu.
struct MnemonicMatch {
    enum class Kind { None, One, Several };
    Kind kind = Kind::None;
    int row = -1;  // One: the row to run; Several: the row to highlight
};
// Several matches move the highlight to the first match after
// `highlighted`, wrapping; letters compare without regard to case.
MnemonicMatch MatchMnemonic(const std::vector<MenuItem>& items, char32_t c, int highlighted);

// The next row up (step -1) or down (step 1) that can be highlighted,
// wrapping; -1 when there is none. From -1, down finds the first row.
int NextSelectableRow(const std::vector<MenuItem>& items, int from, int step);

// The colours a check-square picture is drawn in.
struct MenuBitmapColours {
    Rgb buttonText;
    Rgb buttonShadow;
    Rgb menu;
    Rgb highlight;
    Rgb buttonHighlight;
    Rgb greyText;
};
// Maps the picture's black, dark grey, light grey and white to the system
// colours (light grey becomes the highlight colour on a highlighted row); a
// grayed row gets a two-colour copy: white on `background`, the rest grey.
MenuBitmap MapMenuBitmap(const MenuBitmap& bitmap, const MenuBitmapColours& colours,
                         bool highlighted, bool grayed, Rgb background);

// The 8 x 8 pattern of alternating pixels (rows 0x55 and 0xAA) behind a
// checked item: true where the button-highlight colour goes.
bool DitherBit(int x, int y);

// Replaces the 4-connected area of `image` (row by row, `width` wide) that
// has the colour of the pixel at (x, y) with `fill(x, y)`.
void FloodFill(std::vector<std::uint32_t>& image, int width, int height, int x, int y,
               const std::function<std::uint32_t(int, int)>& fill);

}  // namespace korvana
