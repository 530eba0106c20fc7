#include "controls/MenuRules.h"

namespace korvana {
namespace {

// Decodes one UTF-8 character at `at`; a byte that does not start a valid
// sequence stands for itself, as in a single-byte code page.
char32_t DecodeAt(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 0 || at + static_cast<std::size_t>(extra) >= text.size()) {
        return lead;
    }
    char32_t c = lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        const unsigned char next = byte(at + static_cast<std::size_t>(i));
        if ((next & 0xC0) != 0x80) {
            return lead;
        }
        c = (c << 6) | (next & 0x3F);
    }
    return c;
}

char32_t FoldCase(char32_t c) {
    return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
}

std::uint32_t Pixel(const std::vector<std::uint32_t>& image, int width, int x, int y) {
    return image[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                 static_cast<std::size_t>(x)];
}

}  // namespace

std::optional<char32_t> MnemonicOf(std::string_view text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') {
            continue;
        }
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return DecodeAt(text, i + 1);
    }
    return std::nullopt;
}

std::string WithoutMnemonics(std::string_view text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                plain += '&';
                ++i;
            }
            continue;
        }
        plain += text[i];
    }
    return plain;
}

MnemonicMatch MatchMnemonic(const std::vector<MenuItem>& items, char32_t c, int highlighted) {
    std::vector<int> matches;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto mnemonic = MnemonicOf(items[i].text);
        if (!items[i].separator && mnemonic && FoldCase(*mnemonic) == FoldCase(c)) {
            matches.push_back(static_cast<int>(i));
        }
    }
    if (matches.empty()) {
        return {};
    }
    if (matches.size() == 1) {
        return {MnemonicMatch::Kind::One, matches.front()};
    }
    for (int row : matches) {
        if (row > highlighted) {
            return {MnemonicMatch::Kind::Several, row};
        }
    }
    return {MnemonicMatch::Kind::Several, matches.front()};
}

int NextSelectableRow(const std::vector<MenuItem>& items, int from, int step) {
    const int count = static_cast<int>(items.size());
    if (count == 0) {
        return -1;
    }
    int row = from < 0 ? (step > 0 ? -1 : count) : from;
    for (int tries = 0; tries < count; ++tries) {
        row = ((row + step) % count + count) % count;
        if (items[static_cast<std::size_t>(row)].Selectable()) {
            return row;
        }
    }
    return -1;
}

MenuBitmap MapMenuBitmap(const MenuBitmap& bitmap, const MenuBitmapColours& colours,
                         bool highlighted, bool grayed, Rgb background) {
    MenuBitmap mapped = bitmap;
    const Rgb white{255, 255, 255};
    for (Rgb& pixel : mapped.pixels) {
        if (grayed) {
            pixel = pixel == white ? background : colours.greyText;
        } else if (pixel == Rgb{0, 0, 0}) {
            pixel = colours.buttonText;
        } else if (pixel == Rgb{128, 128, 128}) {
            pixel = colours.buttonShadow;
        } else if (pixel == Rgb{192, 192, 192}) {
            pixel = highlighted ? colours.highlight : colours.menu;
        } else if (pixel == white) {
            pixel = colours.buttonHighlight;
        }
    }
    return mapped;
}

bool DitherBit(int x, int y) {
    const unsigned row = (y & 1) == 0 ? 0x55u : 0xAAu;
    return ((row >> (7 - (x & 7))) & 1u) != 0;
}

void FloodFill(std::vector<std::uint32_t>& image, int width, int height, int x, int y,
               const std::function<std::uint32_t(int, int)>& fill) {
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return;
    }
    const std::uint32_t target = Pixel(image, width, x, y);
    // Marks filled pixels apart from their new colour, which may equal the
    // target colour.
    std::vector<bool> done(image.size(), false);
    std::vector<std::pair<int, int>> pending{{x, y}};
    while (!pending.empty()) {
        const auto [px, py] = pending.back();
        pending.pop_back();
        if (px < 0 || py < 0 || px >= width || py >= height) {
            continue;
        }
        const std::size_t at = static_cast<std::size_t>(py) * static_cast<std::size_t>(width) +
                               static_cast<std::size_t>(px);
        if (done[at] || image[at] != target) {
            continue;
        }
        done[at] = true;
        image[at] = fill(px, py);
        pending.push_back({px + 1, py});
        pending.push_back({px - 1, py});
        pending.push_back({px, py + 1});
        pending.push_back({px, py - 1});
    }
}

}  // namespace korvana
