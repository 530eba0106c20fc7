#include <gtest/gtest.h>

#include "controls/MenuRules.h"

namespace korvana {
namespace {

std::vector<MenuItem> Items(std::initializer_list<const char*> texts) {
    std::vector<MenuItem> items;
    int id = 100;
    for (const char* text : texts) {
        items.push_back(text == nullptr ? MenuSeparator() : MenuCommand(text, id));
        ++id;
    }
    return items;
}

TEST(MenuMnemonicTest, TheCharacterAfterASingleAmpersand) {
    EXPECT_EQ(MnemonicOf("&Locate Download Folder"), U'L');
    EXPECT_EQ(MnemonicOf("E&xit"), U'x');
    EXPECT_EQ(MnemonicOf("R&&B"), std::nullopt);
    EXPECT_EQ(MnemonicOf("R&&B &Hits"), U'H');
    EXPECT_EQ(MnemonicOf("Send Us Feedback"), std::nullopt);
    EXPECT_EQ(MnemonicOf("Trailing&"), std::nullopt);
    EXPECT_EQ(MnemonicOf("&\xC3\x84pfel"), U'\u00C4');
    EXPECT_EQ(MnemonicOf("&\xC3"), U'\u00C3');
}

TEST(MenuMnemonicTest, CaptionsDropTheMarks) {
    EXPECT_EQ(WithoutMnemonics("&Clear Incomplete Directory"), "Clear Incomplete Directory");
    EXPECT_EQ(WithoutMnemonics("R&&B"), "R&B");
    EXPECT_EQ(WithoutMnemonics("  &Results"), "  Results");
}

TEST(MenuMnemonicTest, OneMatchRunsAndSeveralCycle) {
    const auto items = Items({"&Download", "&Stop", nullptr, "&Search", "&Remove"});
    EXPECT_EQ(MatchMnemonic(items, U'd', -1).kind, MnemonicMatch::Kind::One);
    EXPECT_EQ(MatchMnemonic(items, U'D', -1).row, 0);
    EXPECT_EQ(MatchMnemonic(items, U'q', -1).kind, MnemonicMatch::Kind::None);

    auto match = MatchMnemonic(items, U's', -1);
    EXPECT_EQ(match.kind, MnemonicMatch::Kind::Several);
    EXPECT_EQ(match.row, 1);
    match = MatchMnemonic(items, U'S', match.row);
    EXPECT_EQ(match.row, 3);
    match = MatchMnemonic(items, U's', match.row);
    EXPECT_EQ(match.row, 1);
    EXPECT_EQ(MatchMnemonic(items, U's', 4).row, 1);
}

TEST(MenuMnemonicTest, GrayedRowsStillMatch) {
    auto items = Items({"&Play", "&Launch"});
    items[0].grayed = true;
    const auto match = MatchMnemonic(items, U'p', -1);
    EXPECT_EQ(match.kind, MnemonicMatch::Kind::One);
    EXPECT_EQ(match.row, 0);
}

TEST(MenuNavigationTest, ArrowsSkipSeparatorsAndGrayedRowsAndWrap) {
    auto items = Items({"&A", nullptr, "&B", "&C"});
    items[3].grayed = true;
    EXPECT_EQ(NextSelectableRow(items, -1, 1), 0);
    EXPECT_EQ(NextSelectableRow(items, 0, 1), 2);
    EXPECT_EQ(NextSelectableRow(items, 2, 1), 0);
    EXPECT_EQ(NextSelectableRow(items, 0, -1), 2);
    EXPECT_EQ(NextSelectableRow(items, -1, -1), 2);
    items[0].grayed = true;
    items[2].grayed = true;
    EXPECT_EQ(NextSelectableRow(items, -1, 1), -1);
    EXPECT_EQ(NextSelectableRow({}, -1, 1), -1);
}

TEST(MenuBitmapTest, PictureColoursBecomeSystemColours) {
    MenuBitmap bitmap{4, 1, {{0, 0, 0}, {128, 128, 128}, {192, 192, 192}, {255, 255, 255}}};
    const MenuBitmapColours colours{{1, 1, 1}, {2, 2, 2}, {3, 3, 3},
                                    {4, 4, 4}, {5, 5, 5}, {6, 6, 6}};
    MenuBitmap mapped = MapMenuBitmap(bitmap, colours, false, false, Rgb{9, 9, 9});
    EXPECT_EQ(mapped.At(0, 0), (Rgb{1, 1, 1}));
    EXPECT_EQ(mapped.At(1, 0), (Rgb{2, 2, 2}));
    EXPECT_EQ(mapped.At(2, 0), (Rgb{3, 3, 3}));
    EXPECT_EQ(mapped.At(3, 0), (Rgb{5, 5, 5}));
    mapped = MapMenuBitmap(bitmap, colours, true, false, Rgb{9, 9, 9});
    EXPECT_EQ(mapped.At(2, 0), (Rgb{4, 4, 4}));
    mapped = MapMenuBitmap(bitmap, colours, false, true, Rgb{9, 9, 9});
    EXPECT_EQ(mapped.At(0, 0), (Rgb{6, 6, 6}));
    EXPECT_EQ(mapped.At(2, 0), (Rgb{6, 6, 6}));
    EXPECT_EQ(mapped.At(3, 0), (Rgb{9, 9, 9}));
    EXPECT_EQ(mapped.width, 4);
}

TEST(MenuBitmapTest, DitherAlternatesLikeACheckerboard) {
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(DitherBit(x, y), (x + y) % 2 == 1) << x << "," << y;
        }
    }
}

TEST(MenuBitmapTest, FloodFillStaysInsideItsArea) {
    // A 5 x 5 square with a frame of 1s and a 1 in the middle.
    std::vector<std::uint32_t> image(25, 0);
    for (int i = 0; i < 5; ++i) {
        image[static_cast<std::size_t>(i)] = 1;
        image[static_cast<std::size_t>(20 + i)] = 1;
        image[static_cast<std::size_t>(i * 5)] = 1;
        image[static_cast<std::size_t>(i * 5 + 4)] = 1;
    }
    image[12] = 1;
    FloodFill(image, 5, 5, 1, 1, [](int x, int y) { return (x + y) % 2 == 0 ? 7u : 0u; });
    EXPECT_EQ(image[6], 7u);   // (1, 1)
    EXPECT_EQ(image[7], 0u);   // (2, 1), filled with the same colour
    EXPECT_EQ(image[18], 7u);  // (3, 3)
    EXPECT_EQ(image[12], 1u);  // the middle stays
    EXPECT_EQ(image[0], 1u);   // the frame stays
    FloodFill(image, 5, 5, 9, 9, [](int, int) { return 3u; });
    EXPECT_EQ(image[6], 7u);
}

}  // namespace
}  // namespace korvana
