#include "core/GuiMessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvana {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(GuiMessageWire, ProtocolVersionAndShutdownFrames) {
    GuiMessage version(0);
    version.Put32(30);
    EXPECT_EQ(version.ToFrame(), (Bytes{0x06, 0, 0, 0, 0, 0, 0x1E, 0, 0, 0}));

    GuiMessage shutdown(3);
    EXPECT_EQ(shutdown.ToFrame(), (Bytes{0x02, 0, 0, 0, 0x03, 0}));
}

TEST(GuiMessageWire, StringCountAndPassword) {
    GuiMessage message(52);
    message.PutString(std::string(300, 'x'));
    EXPECT_EQ(message.Payload()[0], 0x2C);
    EXPECT_EQ(message.Payload()[1], 0x01);

    GuiMessage password(52);
    password.PutString("");
    password.PutString("admin");
    EXPECT_EQ(password.Payload(), (Bytes{0, 0, 5, 0, 'a', 'd', 'm', 'i', 'n'}));
}

TEST(GuiMessageDecode, ShortReadsGiveZeroAndAbsentStrings) {
    GuiMessage truncated;
    const Bytes body{4, 0, 0x20, 0x00, 'a', 'b'};
    ASSERT_TRUE(truncated.Load(body.data(), body.size()));
    EXPECT_EQ(truncated.Get16(), 4);
    EXPECT_EQ(truncated.GetString(), std::nullopt);
    EXPECT_EQ(truncated.Cursor(), 4u);  // past the count only

    GuiMessage zeros;
    const Bytes withZero{3, 0, 'a', '\0', 'c'};
    ASSERT_TRUE(zeros.Load(withZero.data(), withZero.size()));
    EXPECT_EQ(zeros.GetString(), std::optional<std::string>("a0c"));
    EXPECT_EQ(zeros.GetString(), std::optional<std::string>(""));  // at the end: empty, not absent
    EXPECT_EQ(zeros.Get32(), 0u);
}

TEST(GuiMessageDecode, LoadRejectsOversizedBodies) {
    GuiMessage message;
    const Bytes big(GuiMessage::kMaxPayload + 1, 0);
    EXPECT_FALSE(message.Load(big.data(), big.size()));
    EXPECT_EQ(message.Length(), 0u);
    const Bytes limit(GuiMessage::kMaxPayload, 0);
    EXPECT_TRUE(message.Load(limit.data(), limit.size()));
}

TEST(GuiMessageDecode, DecimalIgnoresLocaleAndJunk) {
    GuiMessage message;
    message.PutString("1536.5");
    message.PutString("abc");
    GuiMessage reader;
    ASSERT_TRUE(reader.Load(message.Payload().data(), message.Payload().size()));
    EXPECT_DOUBLE_EQ(reader.GetDecimal(), 1536.5);
    EXPECT_DOUBLE_EQ(reader.GetDecimal(), 0.0);
}

}  // namespace
}  // namespace korvana
