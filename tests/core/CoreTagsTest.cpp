#include "core/CoreTags.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvana {
namespace {

std::vector<CoreTagView> Views(const CoreTags& tags) {
    return std::vector<CoreTagView>(tags.begin(), tags.end());
}

TEST(CoreTags, ReadBackEveryKindInTheOrderGiven) {
    const CoreTags tags({CoreTag{"availability", 0, 5, {}}, CoreTag{"", 3, -2'147'483'647 - 1, {}},
                         CoreTag{"length", CoreTag::kTextType, 99, "3:07"},
                         CoreTag{"Album", CoreTag::kTextType, 0, ""},
                         CoreTag{"bitrate", 6, 2'147'483'647, {}}});
    const std::vector<CoreTagView> views = Views(tags);
    ASSERT_EQ(views.size(), 5u);
    EXPECT_EQ(views[0].name, "availability");
    EXPECT_EQ(views[0].intValue, 5);
    EXPECT_EQ(views[1].name, "");
    EXPECT_EQ(views[1].type, 3);
    EXPECT_EQ(views[1].intValue, -2'147'483'647 - 1);
    // A text tag keeps its text and no number, even one the caller left in.
    EXPECT_EQ(views[2].text, "3:07");
    EXPECT_EQ(views[2].intValue, 0);
    EXPECT_EQ(views[3].name, "Album");
    EXPECT_TRUE(views[3].text.empty());
    EXPECT_EQ(views[4].type, 6);
    EXPECT_EQ(views[4].intValue, 2'147'483'647);
}

TEST(CoreTags, OverlongNamesAndTextsAreCutAtTheirLimits) {
    const std::string longName(300, 'n');
    const std::string longText(200, 't');
    const CoreTags tags(
        {CoreTag{longName, CoreTag::kTextType, 0, longText}, CoreTag{longName, 0, 7, {}}});
    const std::vector<CoreTagView> views = Views(tags);
    ASSERT_EQ(views.size(), 2u);
    EXPECT_EQ(views[0].name, longName.substr(0, CoreTag::kMaxName));
    EXPECT_EQ(views[0].text, longText.substr(0, CoreTag::kMaxText));
    // The cut does not shift the next record.
    EXPECT_EQ(views[1].name.size(), CoreTag::kMaxName);
    EXPECT_EQ(views[1].intValue, 7);
}

TEST(CoreTags, SurviveCopiesAndMovesOfShortAndLongBuffers) {
    // One tiny tag fits inside the string object itself; moving it moves the
    // bytes, so views must come from the list where it now lives.
    CoreTags small({CoreTag{"p", 0, 2, {}}});
    CoreTags moved = std::move(small);
    ASSERT_EQ(Views(moved).size(), 1u);
    EXPECT_EQ(moved.begin()->name, "p");
    EXPECT_EQ(moved.begin()->intValue, 2);

    std::vector<CoreTag> many;
    for (int i = 0; i < 200; ++i) {
        many.push_back(CoreTag{"tag" + std::to_string(i), 0, i, {}});
    }
    const CoreTags original(many);
    const CoreTags copy = original;
    int expected = 0;
    for (const CoreTagView& tag : copy) {
        EXPECT_EQ(tag.name, "tag" + std::to_string(expected));
        EXPECT_EQ(tag.intValue, expected);
        ++expected;
    }
    EXPECT_EQ(expected, 200);
    EXPECT_EQ(CoreTags().begin(), CoreTags().end());
}

}  // namespace
}  // namespace korvana
