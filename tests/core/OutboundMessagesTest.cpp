#include "core/OutboundMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvana {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The bytes of one query term: kind, "Comment", value.
void AppendTerm(Bytes& bytes, std::uint8_t kind, const std::string& value) {
    bytes.insert(bytes.end(), {kind, 7, 0, 'C', 'o', 'm', 'm', 'e', 'n', 't'});
    bytes.push_back(static_cast<std::uint8_t>(value.size()));
    bytes.push_back(0);
    bytes.insert(bytes.end(), value.begin(), value.end());
}

Bytes QueryPayload(std::int32_t searchId, std::uint8_t count,
                   const std::vector<std::pair<std::uint8_t, std::string>>& optional) {
    Bytes bytes{static_cast<std::uint8_t>(searchId), 0, 0, 0, 0, count, 0};
    AppendTerm(bytes, 7, "mp3");
    AppendTerm(bytes, 8, "Audio");
    for (const auto& [kind, value] : optional) {
        AppendTerm(bytes, kind, value);
    }
    bytes.insert(bytes.end(), {0x40, 0x42, 0x0F, 0x00, 0x01, 0, 0, 0, 0});
    return bytes;
}

TEST(OutboundMessages, LogInMessagesHaveTheirExactBytes) {
    EXPECT_EQ(BuildProtocolVersion().ToFrame(), (Bytes{6, 0, 0, 0, 0, 0, 0x1E, 0, 0, 0}));
    EXPECT_EQ(BuildExtensionList().ToFrame(), (Bytes{9, 0, 0, 0, 47, 0, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(BuildPassword("", "admin").Payload(), (Bytes{0, 0, 5, 0, 'a', 'd', 'm', 'i', 'n'}));
    EXPECT_EQ(BuildPassword("", "admin").GetOpcode(), 52);
    EXPECT_EQ(BuildSetOption("ab", "c").ToFrame(),
              (Bytes{9, 0, 0, 0, 28, 0, 2, 0, 'a', 'b', 1, 0, 'c'}));
    EXPECT_EQ(BuildOptionList("ab", "c").ToFrame(),
              (Bytes{11, 0, 0, 0, 10, 0, 1, 0, 2, 0, 'a', 'b', 1, 0, 'c'}));
    EXPECT_EQ(BuildAskDownloadingFiles().ToFrame(), (Bytes{2, 0, 0, 0, 45, 0}));
    EXPECT_EQ(BuildAskUploadStats().ToFrame(), (Bytes{2, 0, 0, 0, 49, 0}));
    EXPECT_EQ(BuildShutdown().ToFrame(), (Bytes{2, 0, 0, 0, 3, 0}));
}

TEST(OutboundMessages, SearchQueryListsOnlyFilledTermsInFixedOrder) {
    SearchTerms keywordsOnly;
    keywordsOnly.keywords = "abc";
    const GuiMessage abc = BuildSearchQuery(5, keywordsOnly);
    EXPECT_EQ(abc.GetOpcode(), 42);
    EXPECT_EQ(abc.Payload(), QueryPayload(5, 3, {{4, "abc"}}));

    SearchTerms artistOnly;
    artistOnly.artist = "Nina";
    EXPECT_EQ(BuildSearchQuery(1, artistOnly).Payload(), QueryPayload(1, 3, {{9, "Nina"}}));

    // All seven filled in a scrambled assignment order still go out in the
    // wire order 4, 5, 6, 12, 9, 10, 11, as typed (no trimming).
    SearchTerms all;
    all.album = "Al";
    all.title = "Ti";
    all.artist = "Ar";
    all.bitrate = "128";
    all.maxSize = "9";
    all.minSize = " 1";
    all.keywords = "k";
    EXPECT_EQ(
        BuildSearchQuery(2, all).Payload(),
        QueryPayload(
            2, 9, {{4, "k"}, {5, " 1"}, {6, "9"}, {12, "128"}, {9, "Ar"}, {10, "Ti"}, {11, "Al"}}));
}

TEST(OutboundMessages, CommandsCarryTheirArgumentsInOrder) {
    EXPECT_EQ(BuildSwitchDownload(7, false).Payload(), (Bytes{7, 0, 0, 0, 0}));
    EXPECT_EQ(BuildSwitchDownload(7, true).Payload(), (Bytes{7, 0, 0, 0, 1}));
    EXPECT_EQ(BuildSwitchDownload(7, true).GetOpcode(), 23);
    EXPECT_EQ(BuildCloseQuery(-2).ToFrame(), (Bytes{7, 0, 0, 0, 27, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0}));
    EXPECT_EQ(BuildCancelDownload(0x01020304).ToFrame(), (Bytes{6, 0, 0, 0, 11, 0, 4, 3, 2, 1}));
    EXPECT_EQ(BuildDownloadRequest("a.mp3", 258).ToFrame(),
              (Bytes{16, 0, 0, 0, 50, 0, 1, 0, 5, 0, 'a', '.', 'm', 'p', '3', 2, 1, 0, 0, 1}));
    EXPECT_EQ(BuildConsoleCommand("save").ToFrame(),
              (Bytes{8, 0, 0, 0, 29, 0, 4, 0, 's', 'a', 'v', 'e'}));
}

TEST(OutboundMessages, StringCountMatchesTheBytesThatFollow) {
    const GuiMessage text300 = BuildConsoleCommand(std::string(300, 'x'));
    EXPECT_EQ(text300.Payload()[0], 0x2C);
    EXPECT_EQ(text300.Payload()[1], 0x01);
    EXPECT_EQ(text300.Length(), 302u);

    // A text beyond the 16-bit count is cut to what the count can say, so a
    // reader stays in step with the message.
    const GuiMessage huge = BuildConsoleCommand(std::string(70000, 'y'));
    EXPECT_EQ(huge.Payload()[0], 0xFF);
    EXPECT_EQ(huge.Payload()[1], 0xFF);
    EXPECT_EQ(huge.Length(), 2u + 65535u);
}

}  // namespace
}  // namespace korvana
