#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace korvana::sim {

// Opcodes of the messages the front end sends to the core.
namespace from_gui {
constexpr int kProtocolVersion = 0;
constexpr int kShutdown = 3;
constexpr int kOptionList = 10;
constexpr int kCancelDownload = 11;
constexpr int kSwitchDownload = 23;
constexpr int kCloseQuery = 27;
constexpr int kSetOption = 28;
constexpr int kConsoleCommand = 29;
constexpr int kSearchQuery = 42;
constexpr int kAskDownloads = 45;
constexpr int kExtensions = 47;
constexpr int kAskUploadStats = 49;
constexpr int kDownloadQuery = 50;
constexpr int kPassword = 52;
}  // namespace from_gui

// A node of a search query: kind 0 AND, 1 OR, 2 AND-NOT, 3 module, 13
// hidden (lists of sub-queries); 4 to 12 a term with a label and a value
// (4 keywords, 5 minimum size, 6 maximum size, 7 format, 8 media, 9 artist,
// 10 title, 11 album, 12 bit rate).
struct QueryNode {
    std::uint8_t kind = 0;
    std::string label;
    std::string value;
    std::vector<QueryNode> children;
};

struct ProtocolVersion {
    std::uint32_t version = 0;
};
struct Extensions {};
struct Password {
    std::string password;
    std::string login;
};
struct SetOption {
    std::string name;
    std::string value;
};
struct OptionList {
    std::vector<std::pair<std::string, std::string>> pairs;
};
struct SearchQuery {
    std::int32_t id = 0;
    QueryNode query;
    std::int32_t maxHits = 0;
};
struct CloseQuery {
    std::int32_t id = 0;
};
struct DownloadQuery {
    std::vector<std::string> names;
    std::int32_t resultId = 0;
};
struct CancelDownload {
    std::int32_t number = 0;
};
struct SwitchDownload {
    std::int32_t number = 0;
    bool resume = false;
};
struct ConsoleCommand {
    std::string line;
};
struct AskDownloads {};
struct AskUploadStats {};
struct Shutdown {};
// An opcode the core does not act on, or a message that could not be read
// (a string running past the end, a query nested too deep, a body over the
// protocol's limit).
struct Unreadable {
    int opcode = 0;
    bool malformed = false;
};

using GuiRequest =
    std::variant<Unreadable, ProtocolVersion, Extensions, Password, SetOption, OptionList,
                 SearchQuery, CloseQuery, DownloadQuery, CancelDownload, SwitchDownload,
                 ConsoleCommand, AskDownloads, AskUploadStats, Shutdown>;

// The opcode of a frame body: its first two bytes, 0 when it is shorter.
int FrameOpcode(std::span<const std::uint8_t> body);

// Decodes one frame body (opcode first). Pure and bounded: any input gives a
// request or Unreadable.
GuiRequest DecodeRequest(std::span<const std::uint8_t> body);

}  // namespace korvana::sim
