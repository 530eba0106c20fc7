#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/GuiMessage.h"
#include "tools/sim/SimConfig.h"

namespace korvana::sim {

// Opcodes of the messages the core sends to the front end.
namespace to_gui {
constexpr int kCoreProtocol = 0;
constexpr int kOptions = 1;
constexpr int kResult = 4;
constexpr int kSearchResult = 5;
constexpr int kConsole = 19;
constexpr int kNetwork = 20;
constexpr int kSharedFileUpload = 34;
constexpr int kDownloadUpdate = 46;
constexpr int kBadPassword = 47;
constexpr int kSharedFile = 48;
constexpr int kClientStats = 49;
constexpr int kDownloadList = 53;
}  // namespace to_gui

using Hash = std::array<std::uint8_t, 16>;
using OptionPair = std::pair<std::string, std::string>;

struct Tag {
    std::string name;
    std::uint8_t type = 0;  // 2: text, otherwise a 32-bit number
    std::uint32_t number = 0;
    std::string text;
};

struct ResultInfo {
    std::int32_t id = 0;
    std::int32_t network = 0;
    std::string name;
    Hash hash{};
    std::uint64_t size = 0;
    std::string format = "mp3";
    std::string type = "Audio";
    std::vector<Tag> tags;
    std::string comment;
};

struct NetworkInfo {
    std::int32_t number = 0;
    std::string name;
    bool enabled = false;
    std::string configFile;
    std::int32_t servers = 0;
};

struct ClientStats {
    std::uint64_t uploaded = 0;
    std::uint64_t downloaded = 0;
    std::uint64_t sharedBytes = 0;
    std::int32_t sharedFiles = 0;
    std::int32_t uploadRate = 0;
    std::int32_t downloadRate = 0;
    std::int32_t downloadingFiles = 0;
    std::int32_t downloadedFiles = 0;
    std::vector<std::pair<std::int32_t, std::int32_t>> servers;  // network, connected servers
};

struct SharedFileInfo {
    std::int32_t number = 0;
    std::int32_t network = 0;
    std::string name;
    std::uint64_t size = 0;
    std::uint64_t uploaded = 0;
    std::int32_t requests = 0;
};

// One download as the download list and its updates report it.
struct DownloadInfo {
    std::int32_t number = 0;
    std::int32_t network = 0;
    std::string name;
    Hash hash{};
    std::uint64_t size = 0;
    std::uint64_t downloaded = 0;
    std::uint8_t state = 0;
    std::string reason;  // sent only with state 6 (aborted)
    double rate = 0.0;
    std::string artist;
    std::string title;
    std::string album;
    std::string year;
};

GuiMessage EncodeHello(WireForm form);
GuiMessage EncodeBadPassword();
GuiMessage EncodeConsole(std::string_view text);
// The text a real core wraps around the output of a console command.
std::string ConsoleAnswer(std::string_view command, std::string_view output);
// Several messages when the pairs do not fit one; a pair too large for any
// message is left out.
std::vector<GuiMessage> EncodeOptions(const std::vector<OptionPair>& pairs);
GuiMessage EncodeNetwork(const NetworkInfo& network, WireForm form);
GuiMessage EncodeResult(const ResultInfo& result, WireForm form);
GuiMessage EncodeSearchResult(std::int32_t searchId, std::int32_t resultId);
GuiMessage EncodeClientStats(const ClientStats& stats);
GuiMessage EncodeSharedFile(const SharedFileInfo& file, WireForm form);
GuiMessage EncodeSharedFileUpload(const SharedFileInfo& file);
GuiMessage EncodeDownloadUpdate(const DownloadInfo& download);
std::vector<GuiMessage> EncodeDownloadList(const std::vector<DownloadInfo>& downloads);
// Rates and other fractional numbers travel as decimal text.
std::string FormatDecimal(double value);
// "urn:ed2k:" and the hash in hexadecimal, as a real core names a result.
std::string HashUid(const Hash& hash);

// Messages whose last string announces more bytes than follow.
GuiMessage EncodeTruncatedOptions(const OptionPair& goodPair);
GuiMessage EncodeTruncatedResult(std::int32_t resultId, std::int32_t network);
// A download list with `downloads` and then one entry whose name is cut off.
GuiMessage EncodeDownloadListWithTruncatedTail(const std::vector<DownloadInfo>& downloads);

}  // namespace korvana::sim
