#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/GuiMessage.h"
#include "tools/sim/CoreMessages.h"
#include "tools/sim/FrameReader.h"
#include "tools/sim/GuiRequests.h"

namespace korvana::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

GuiMessage ReaderOf(const GuiMessage& message) {
    GuiMessage reader;
    reader.Load(message.Payload().data(), message.Payload().size());
    return reader;
}

Bytes BodyOf(const GuiMessage& message) {
    Bytes frame = message.ToFrame();
    return Bytes(frame.begin() + 4, frame.end());
}

TEST(SimCoreMessages, HelloInBothForms) {
    EXPECT_EQ(EncodeHello(WireForm::kDocumented).ToFrame(), (Bytes{2, 0, 0, 0, 0, 0}));
    EXPECT_EQ(EncodeHello(WireForm::kRealCore).ToFrame(),
              (Bytes{14, 0, 0, 0, 0, 0, 41, 0, 0, 0, 59, 0, 0, 0, 68, 0, 0, 0}));
}

TEST(SimCoreMessages, ResultCarriesHashOrUidByForm) {
    ResultInfo result{
        7,         3,     "A - B.mp3", {},
        123456789, "mp3", "Audio",     {{"availability", 0, 12, ""}, {"length", 2, 0, "3:05"}},
        ""};
    result.hash[0] = 0xAB;
    GuiMessage documented = ReaderOf(EncodeResult(result, WireForm::kDocumented));
    EXPECT_EQ(documented.Get32(), 7u);
    EXPECT_EQ(documented.Get32(), 3u);
    EXPECT_EQ(documented.Get16(), 1u);
    EXPECT_EQ(documented.GetString(), "A - B.mp3");
    EXPECT_EQ(documented.Get8(), 0xAB);  // first raw hash byte
    std::uint8_t rest[15];
    EXPECT_TRUE(documented.GetBytes(rest, sizeof rest));
    EXPECT_EQ(documented.Get64(), 123456789u);
    EXPECT_EQ(documented.GetString(), "mp3");
    EXPECT_EQ(documented.GetString(), "Audio");
    EXPECT_EQ(documented.Get16(), 2u);
    EXPECT_EQ(documented.GetString(), "availability");
    EXPECT_EQ(documented.Get8(), 0u);
    EXPECT_EQ(documented.Get32(), 12u);
    EXPECT_EQ(documented.GetString(), "length");
    EXPECT_EQ(documented.Get8(), 2u);
    EXPECT_EQ(documented.GetString(), "3:05");
    EXPECT_EQ(documented.GetString(), "");
    documented.Get8();
    EXPECT_EQ(documented.Remaining(), 0u);

    GuiMessage real = ReaderOf(EncodeResult(result, WireForm::kRealCore));
    real.Get32();
    real.Get32();
    real.Get16();
    real.GetString();
    EXPECT_EQ(real.Get16(), 1u);
    const std::optional<std::string> uid = real.GetString();
    ASSERT_TRUE(uid);
    EXPECT_EQ(uid->substr(0, 11), "urn:ed2k:ab");
    EXPECT_EQ(uid->size(), 9u + 32u);
    EXPECT_EQ(real.Get64(), 123456789u);
}

TEST(SimCoreMessages, SharedFileSizeWidthByForm) {
    const SharedFileInfo file{5, 3, "song.mp3", 0x123456789ULL, 1000, 2};
    GuiMessage documented = ReaderOf(EncodeSharedFile(file, WireForm::kDocumented));
    documented.Get32();
    documented.Get32();
    documented.GetString();
    EXPECT_EQ(documented.Get32(), 0x23456789u);
    EXPECT_EQ(documented.Get64(), 1000u);
    EXPECT_EQ(documented.Get32(), 2u);
    EXPECT_EQ(documented.Remaining(), 0u);

    GuiMessage real = ReaderOf(EncodeSharedFile(file, WireForm::kRealCore));
    real.Get32();
    real.Get32();
    real.GetString();
    EXPECT_EQ(real.Get64(), 0x123456789ULL);
    EXPECT_EQ(real.Get64(), 1000u);
    EXPECT_EQ(real.Get32(), 2u);
    EXPECT_EQ(real.Remaining(), 16u);  // the not yet computed MD4
}

TEST(SimCoreMessages, OptionsSplitBelowTheFrameLimit) {
    std::vector<OptionPair> pairs;
    for (int i = 0; i < 30; ++i) {
        pairs.emplace_back("option" + std::to_string(i), std::string(1000, 'v'));
    }
    pairs.emplace_back("huge", std::string(30000, 'x'));
    const std::vector<GuiMessage> messages = EncodeOptions(pairs);
    ASSERT_GT(messages.size(), 1u);
    std::size_t count = 0;
    for (const GuiMessage& message : messages) {
        EXPECT_LE(message.Length() + 2, GuiMessage::kMaxPayload);
        GuiMessage reader = ReaderOf(message);
        for (std::uint16_t n = reader.Get16(); n > 0; --n, ++count) {
            EXPECT_NE(reader.GetString(), "huge");
            reader.GetString();
        }
        EXPECT_EQ(reader.Remaining(), 0u);
    }
    EXPECT_EQ(count, 30u);
}

TEST(SimCoreMessages, DownloadListSplitsAndKeepsEveryEntry) {
    std::vector<DownloadInfo> downloads(300);
    for (int i = 0; i < 300; ++i) {
        downloads[static_cast<std::size_t>(i)].number = i + 1;
        downloads[static_cast<std::size_t>(i)].name = "song " + std::to_string(i) + ".mp3";
    }
    downloads[4].state = 6;
    downloads[4].reason = "disk full";
    std::size_t entries = 0;
    for (const GuiMessage& message : EncodeDownloadList(downloads)) {
        EXPECT_LE(message.Length() + 2, GuiMessage::kMaxPayload);
        entries += ReaderOf(message).Get16();
    }
    EXPECT_EQ(entries, 300u);
}

TEST(SimCoreMessages, TruncatedMessagesEndInAnAbsentString) {
    GuiMessage options = ReaderOf(EncodeTruncatedOptions({"port", "4662"}));
    EXPECT_EQ(options.Get16(), 2u);
    EXPECT_EQ(options.GetString(), "port");
    EXPECT_EQ(options.GetString(), "4662");
    EXPECT_EQ(options.GetString(), "port");
    EXPECT_EQ(options.GetString(), std::nullopt);

    GuiMessage result = ReaderOf(EncodeTruncatedResult(9, 1));
    result.Get32();
    result.Get32();
    result.Get16();
    EXPECT_EQ(result.GetString(), std::nullopt);
}

TEST(SimCoreMessages, ConsoleAnswerHasTheRealCoreFrame) {
    EXPECT_EQ(ConsoleAnswer("save", "options and sources saved"),
              "\n----------------------------------\nEval command: save\n\n"
              "options and sources saved\n\n");
    EXPECT_EQ(FormatDecimal(1536.25), "1536.2");
    EXPECT_EQ(FormatDecimal(0), "0.0");
}

TEST(SimGuiRequests, SearchQueryAsTheFrontEndSendsIt) {
    GuiMessage search(42);
    search.Put32(4);
    search.Put8(0);
    search.Put16(3);
    for (const auto& [kind, value] :
         {std::pair<int, const char*>{7, "mp3"}, {8, "Audio"}, {4, "abc"}}) {
        search.Put8(static_cast<std::uint8_t>(kind));
        search.PutString("Comment");
        search.PutString(value);
    }
    search.Put32(1000000);
    search.Put8(1);
    search.Put32(0);
    const GuiRequest request = DecodeRequest(BodyOf(search));
    const auto* query = std::get_if<SearchQuery>(&request);
    ASSERT_NE(query, nullptr);
    EXPECT_EQ(query->id, 4);
    EXPECT_EQ(query->maxHits, 1000000);
    ASSERT_EQ(query->query.children.size(), 3u);
    EXPECT_EQ(query->query.children[2].kind, 4);
    EXPECT_EQ(query->query.children[2].label, "Comment");
    EXPECT_EQ(query->query.children[2].value, "abc");
}

TEST(SimGuiRequests, CommandsAndOptions) {
    GuiMessage pause(23);
    pause.Put32(7);
    pause.Put8(0);
    const GuiRequest paused = DecodeRequest(BodyOf(pause));
    ASSERT_TRUE(std::holds_alternative<SwitchDownload>(paused));
    EXPECT_EQ(std::get<SwitchDownload>(paused).number, 7);
    EXPECT_FALSE(std::get<SwitchDownload>(paused).resume);

    GuiMessage list(10);
    list.Put16(1);
    list.PutString("incoming_directory");
    list.PutString("/music");
    const GuiRequest options = DecodeRequest(BodyOf(list));
    ASSERT_TRUE(std::holds_alternative<OptionList>(options));
    EXPECT_EQ(std::get<OptionList>(options).pairs,
              (std::vector<std::pair<std::string, std::string>>{{"incoming_directory", "/music"}}));

    GuiMessage login(52);
    login.PutString("");
    login.PutString("admin");
    const GuiRequest password = DecodeRequest(BodyOf(login));
    ASSERT_TRUE(std::holds_alternative<Password>(password));
    EXPECT_EQ(std::get<Password>(password).login, "admin");
}

TEST(SimGuiRequests, MalformedInputIsUnreadable) {
    GuiMessage cut(29);
    cut.Put16(50);
    cut.PutString("ab");
    const GuiRequest console = DecodeRequest(BodyOf(cut));
    ASSERT_TRUE(std::holds_alternative<Unreadable>(console));
    EXPECT_TRUE(std::get<Unreadable>(console).malformed);

    GuiMessage deep(42);
    deep.Put32(1);
    for (int i = 0; i < 40; ++i) {
        deep.Put8(0);
        deep.Put16(1);
    }
    EXPECT_TRUE(std::holds_alternative<Unreadable>(DecodeRequest(BodyOf(deep))));

    EXPECT_TRUE(std::holds_alternative<Unreadable>(DecodeRequest(BodyOf(GuiMessage(12)))));
    EXPECT_EQ(FrameOpcode(Bytes{5}), 0);
    EXPECT_TRUE(
        std::holds_alternative<Unreadable>(DecodeRequest(Bytes(GuiMessage::kMaxPayload + 1, 0))));
}

TEST(SimFrameReader, ReassemblesAndRefusesHugeFrames) {
    GuiMessage option(28);
    option.PutString("port");
    option.PutString("4662");
    Bytes stream = GuiMessage(45).ToFrame();
    const Bytes second = option.ToFrame();
    stream.insert(stream.end(), second.begin(), second.end());

    FrameReader reader;
    Bytes body;
    // Byte by byte: a frame appears only once its last byte is there.
    std::vector<Bytes> bodies;
    for (std::uint8_t byte : stream) {
        reader.Append(&byte, 1);
        while (reader.Next(body) == FrameReader::Status::kFrame) {
            bodies.push_back(body);
        }
    }
    ASSERT_EQ(bodies.size(), 2u);
    EXPECT_EQ(bodies[0], (Bytes{45, 0}));
    EXPECT_EQ(bodies[1], BodyOf(option));
    EXPECT_EQ(reader.Buffered(), 0u);

    const std::size_t huge = FrameReader::kMaxBody + 1;
    const Bytes header = {static_cast<std::uint8_t>(huge), static_cast<std::uint8_t>(huge >> 8),
                          static_cast<std::uint8_t>(huge >> 16), 0};
    reader.Append(header.data(), header.size());
    EXPECT_EQ(reader.Next(body), FrameReader::Status::kTooLong);
}

}  // namespace
}  // namespace korvana::sim
