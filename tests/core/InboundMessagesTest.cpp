#include "core/InboundMessages.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/core/CoreFrames.h"

namespace korvana {
namespace {

using test::FromHex;

// A result as a real MLDonkey 3 core writes it for protocol 30: a uid list
// where the plain layout has its hash, tags of types 0, 4, 3, 5 and 6, and
// the result's age at the end.
const std::string kRealCoreResult = FromHex(
    "07 00 00 00  02 00 00 00"                                  // result 7, network 2
    "01 00  08 00 73 6f 6e 67 2e 6d 70 33"                      // names: "song.mp3"
    "01 00  29 00 75 72 6e 3a 65 64 32 6b 3a"                   // uids: "urn:ed2k:" +
    "30 30 30 31 30 32 30 33 30 34 30 35 30 36 30 37"           //   "0001020304050607"
    "30 38 30 39 30 61 30 62 30 63 30 64 30 65 66 66"           //   "08090a0b0c0d0eff"
    "40 4b 4c 00 00 00 00 00"                                   // size 5000000
    "03 00 6d 70 33  05 00 41 75 64 69 6f"                      // "mp3", "Audio"
    "05 00"                                                     // five tags:
    "0c 00 61 76 61 69 6c 61 62 69 6c 69 74 79 00 05 00 00 00"  // availability int32 5
    "07 00 62 69 74 72 61 74 65 04 c0 00"                       // bitrate int16 192
    "02 00 69 70 03 7f 00 00 01"                                // ip, four address bytes
    "01 00 62 05 ff"                                            // b int8 -1
    "01 00 70 06 02 00 00 00 03 00 00 00"                       // p, two int32
    "00 00  00  1e 00 00 00");                                  // comment "", done 0, age 30

// A shared file as the real core writes it: 64-bit size, then the MD4.
const std::string kRealCoreSharedFile = FromHex(
    "03 00 00 00  01 00 00 00  05 00 61 2e 6d 70 33"
    "00 00 00 00 01 00 00 00"  // size 4 GiB
    "10 27 00 00 00 00 00 00"  // uploaded 10000
    "04 00 00 00"              // requests 4
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");

GuiMessage Loaded(const std::string& payload) {
    GuiMessage message;
    EXPECT_TRUE(message.Load(payload));
    return message;
}

TEST(InboundForms, HelloChoosesTheLayout) {
    GuiMessage real = Loaded(FromHex("29 00 00 00 3b 00 00 00 44 00 00 00"));
    EXPECT_EQ(DecodeHelloProtocol(real), 41u);
    GuiMessage empty = Loaded("");
    EXPECT_EQ(DecodeHelloProtocol(empty), 0u);
    EXPECT_EQ(FormForProtocol(41), InboundForm::RealCore);
    EXPECT_EQ(FormForProtocol(27), InboundForm::RealCore);
    EXPECT_EQ(FormForProtocol(26), InboundForm::Classic);
    EXPECT_EQ(FormForProtocol(0), InboundForm::Classic);
}

TEST(InboundForms, RealCoreResultReadsUidsAndWideTags) {
    GuiMessage message = Loaded(kRealCoreResult);
    const ResultMessage decoded = DecodeResult(message, InboundForm::RealCore);
    ASSERT_TRUE(decoded.complete);
    EXPECT_EQ(message.Remaining(), 0u);
    const CoreResult& r = decoded.result;
    EXPECT_EQ(r.resultId, 7);
    EXPECT_EQ(r.networkNumber, 2);
    EXPECT_EQ(r.name, "song.mp3");
    EXPECT_EQ(r.hash[1], 1);
    EXPECT_EQ(r.hash[15], 0xFF);
    EXPECT_EQ(r.size, 5000000);
    EXPECT_EQ(r.format, "mp3");
    EXPECT_EQ(r.type, "Audio");
    const std::vector<CoreTagView> tags(r.tags.begin(), r.tags.end());
    ASSERT_EQ(tags.size(), 5u);
    // Newest first: the last tag on the wire comes first.
    EXPECT_EQ(tags[0].name, "p");
    EXPECT_EQ(tags[0].intValue, 2);
    EXPECT_EQ(tags[1].intValue, -1);
    EXPECT_EQ(tags[2].type, 3);
    EXPECT_EQ(tags[3].name, "bitrate");
    EXPECT_EQ(tags[3].intValue, 192);
    EXPECT_EQ(tags[4].name, "availability");
    EXPECT_EQ(tags[4].intValue, 5);

    // Read in the plain layout the same bytes go wrong, which is why the
    // hello decides.
    GuiMessage again = Loaded(kRealCoreResult);
    const ResultMessage misread = DecodeResult(again, InboundForm::Classic);
    EXPECT_FALSE(misread.complete && misread.result.size == 5000000);
}

TEST(InboundForms, ClassicResultReadsHashAndTextTags) {
    const GuiMessage built =
        test::ClassicResult(9, 1, "a.mp3", 1234, {{"bitrate", 0, 128, ""}, {"codec", 2, 0, "mp3"}});
    GuiMessage message = Loaded(std::string(built.Payload().begin(), built.Payload().end()));
    const ResultMessage decoded = DecodeResult(message, InboundForm::Classic);
    ASSERT_TRUE(decoded.complete);
    EXPECT_EQ(decoded.result.hash[0], 1);
    EXPECT_EQ(decoded.result.hash[15], 16);
    EXPECT_EQ(decoded.result.size, 1234);
    const std::vector<CoreTagView> tags(decoded.result.tags.begin(), decoded.result.tags.end());
    ASSERT_EQ(tags.size(), 2u);
    EXPECT_EQ(tags[0].text, "mp3");
    EXPECT_EQ(tags[1].intValue, 128);
    EXPECT_EQ(decoded.result.comment, "comment");
    EXPECT_EQ(decoded.result.done, 1);
}

TEST(InboundForms, UnknownRealCoreTagTypeDropsTheResult) {
    std::string bytes = kRealCoreResult;
    const std::size_t typeOfFirstTag = bytes.find("availability") + 12;
    bytes[typeOfFirstTag] = 9;
    GuiMessage message = Loaded(bytes);
    const ResultMessage decoded = DecodeResult(message, InboundForm::RealCore);
    EXPECT_TRUE(decoded.namesRead);
    EXPECT_FALSE(decoded.complete);
}

TEST(InboundForms, SharedFileSizeWidthFollowsTheForm) {
    GuiMessage real = Loaded(kRealCoreSharedFile);
    const std::optional<SharedFileMessage> file = DecodeSharedFile(real, InboundForm::RealCore);
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->name, "a.mp3");
    EXPECT_EQ(file->size, 4294967296LL);
    EXPECT_EQ(file->uploaded, 10000);
    EXPECT_EQ(file->requests, 4);

    GuiMessage classic =
        Loaded(FromHex("03 00 00 00 01 00 00 00 05 00 61 2e 6d 70 33 00 10 00 00"
                       "10 27 00 00 00 00 00 00 04 00 00 00"));
    const std::optional<SharedFileMessage> plain = DecodeSharedFile(classic, InboundForm::Classic);
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(plain->uploaded, 10000);
    EXPECT_EQ(plain->requests, 4);
}

TEST(InboundDecoding, ListsStopAtTheEndOfThePayload) {
    // Three pairs promised, one present: no empty option is invented.
    GuiMessage options = Loaded(FromHex("03 00 01 00 61 01 00 62"));
    const OptionsMessage decoded = DecodeOptions(options);
    ASSERT_EQ(decoded.pairs.size(), 1u);
    EXPECT_EQ(decoded.pairs[0].name, "a");

    // A count that runs past the end makes the string absent.
    GuiMessage truncated = Loaded(FromHex("02 00 01 00 61 09 00 62"));
    EXPECT_EQ(DecodeOptions(truncated).pairs.size(), 0u);
}

TEST(InboundDecoding, TextsAreCutToTheirFields) {
    const GuiMessage built = test::ClassicResult(1, 1, std::string(600, 'n'), 1);
    GuiMessage message = Loaded(std::string(built.Payload().begin(), built.Payload().end()));
    EXPECT_EQ(DecodeResult(message, InboundForm::Classic).result.name.size(), 511u);

    GuiMessage network =
        Loaded(test::BodyOf(test::Network(1, std::string(100, 'g'), true)).substr(2));
    EXPECT_EQ(DecodeNetwork(network)->name.size(), 63u);
}

}  // namespace
}  // namespace korvana
