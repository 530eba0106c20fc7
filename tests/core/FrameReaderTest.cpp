#include "core/FrameReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/TextLimit.h"

namespace korvana {
namespace {

std::string Frame(const std::string& body) {
    std::string frame;
    const std::size_t n = body.size();
    for (int i = 0; i < 4; ++i) {
        frame.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    }
    return frame + body;
}

std::vector<std::string> Drain(FrameReader& reader) {
    std::vector<std::string> bodies;
    while (std::optional<std::string> body = reader.Next()) {
        bodies.push_back(*body);
    }
    return bodies;
}

TEST(FrameReader, FramesSplitAnywhereComeOutWhole) {
    const std::string stream = Frame(std::string("\x01\x00"
                                                 "ab",
                                                 4)) +
                               Frame(std::string("\x13\x00", 2)) + Frame(std::string(300, 'z'));
    FrameReader reader;
    std::vector<std::string> bodies;
    for (char byte : stream) {
        reader.Append(std::string_view(&byte, 1));
        for (std::string& body : Drain(reader)) {
            bodies.push_back(std::move(body));
        }
    }
    ASSERT_EQ(bodies.size(), 3u);
    EXPECT_EQ(bodies[0], std::string("\x01\x00"
                                     "ab",
                                     4));
    EXPECT_EQ(bodies[1], std::string("\x13\x00", 2));
    EXPECT_EQ(bodies[2], std::string(300, 'z'));
    EXPECT_FALSE(reader.InFrame());
}

TEST(FrameReader, EmptyFramesYieldNothingAndShortOnesComeThrough) {
    FrameReader reader;
    reader.Append(Frame("") + Frame("\x05") + Frame(""));
    const std::vector<std::string> bodies = Drain(reader);
    ASSERT_EQ(bodies.size(), 1u);
    EXPECT_EQ(bodies[0], "\x05");
}

TEST(FrameReader, OversizedFrameIsSkippedWholeAndTheNextIsRead) {
    const std::string big = Frame(std::string(30000, 'q'));
    const std::string next = Frame(std::string("\x01\x00", 2));

    FrameReader whole;
    whole.Append(big + next);
    EXPECT_EQ(Drain(whole), std::vector<std::string>{std::string("\x01\x00", 2)});

    // Split so that the length arrives alone and the tail shares a piece
    // with the next frame.
    FrameReader pieces;
    pieces.Append(big.substr(0, 4));
    EXPECT_TRUE(Drain(pieces).empty());
    pieces.Append(big.substr(4, 12000));
    EXPECT_TRUE(Drain(pieces).empty());
    EXPECT_TRUE(pieces.InFrame());
    pieces.Append(big.substr(12004) + next.substr(0, 3));
    EXPECT_TRUE(Drain(pieces).empty());
    pieces.Append(next.substr(3));
    EXPECT_EQ(Drain(pieces), std::vector<std::string>{std::string("\x01\x00", 2)});

    // The limit itself is still a frame.
    FrameReader limit;
    limit.Append(Frame(std::string(GuiMessage::kMaxPayload, 'x')));
    EXPECT_EQ(Drain(limit).size(), 1u);
}

std::string Length(std::uint32_t n) {
    std::string header;
    for (int i = 0; i < 4; ++i) {
        header.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    }
    return header;
}

TEST(FrameReader, LengthNoCoreSendsBreaksTheStreamInsteadOfSwallowingIt) {
    const std::string next = Frame(std::string("\x01\x00", 2));
    for (const std::uint32_t length :
         {0x80000000u, 0xFFFFFFFFu, static_cast<std::uint32_t>(FrameReader::kBrokenLength + 1)}) {
        FrameReader reader;
        reader.Append(Length(length) + next);
        reader.Append(next);
        EXPECT_TRUE(Drain(reader).empty()) << length;
        EXPECT_TRUE(reader.Broken()) << length;
        EXPECT_EQ(reader.BrokenLength(), length);
        EXPECT_FALSE(reader.InFrame());
        // A new connection starts clean.
        reader.Clear();
        EXPECT_FALSE(reader.Broken());
        reader.Append(next);
        EXPECT_EQ(Drain(reader).size(), 1u);
    }
    // Up to the limit a long frame is only skipped.
    FrameReader skipping(16, 64);
    skipping.Append(Frame(std::string(64, 'q')) + next);
    EXPECT_EQ(Drain(skipping).size(), 1u);
    EXPECT_FALSE(skipping.Broken());
}

TEST(FrameReader, ClearForgetsAPartialFrame) {
    FrameReader reader;
    reader.Append(Frame(std::string(50, 'a')).substr(0, 20));
    EXPECT_TRUE(reader.InFrame());
    reader.Clear();
    EXPECT_FALSE(reader.InFrame());
    reader.Append(Frame("xy"));
    EXPECT_EQ(Drain(reader), std::vector<std::string>{"xy"});
}

TEST(TextLimit, CutsAtACharacterBoundary) {
    EXPECT_EQ(TruncateText("abcdef", 4), "abcd");
    EXPECT_EQ(TruncateText("abc", 4), "abc");
    // "é" is two bytes: a limit in its middle keeps it out.
    EXPECT_EQ(TruncateText("ab\xC3\xA9z", 3), "ab");
    EXPECT_EQ(TruncateText("ab\xC3\xA9z", 4), "ab\xC3\xA9");
    // A four-byte character cut after any of its bytes.
    const std::string clef = "x\xF0\x9D\x84\x9E";
    for (std::size_t limit = 1; limit < 5; ++limit) {
        EXPECT_EQ(TruncateText(clef, limit), "x") << limit;
    }
    // Bytes that are not UTF-8 (Latin-1) are cut where the limit falls.
    EXPECT_EQ(TruncateText("\xE9\xE9\xE9\xE9", 2), "\xE9\xE9");
    EXPECT_EQ(TruncateText("a\x80\x80\x80\x80", 3), "a\x80\x80");
}

}  // namespace
}  // namespace korvana
