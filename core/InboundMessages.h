#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/CoreResult.h"
#include "core/CoreSharedFolder.h"
#include "core/GuiMessage.h"

namespace korvana {

// Two cores lay out a few messages differently. A core whose hello announces
// protocol 27 or later (a real MLDonkey 3) sends results with a list of uid
// strings instead of a raw hash, shared files with a 64-bit size, and tags
// of more types; an older or silent hello means the plain layouts.
enum class InboundForm { Classic, RealCore };

inline constexpr std::uint32_t kRealCoreProtocol = 27;

InboundForm FormForProtocol(std::uint32_t protocol);

// Every decoder reads from `message` at its cursor (just past the opcode).
// Integers read past the end are 0; a string whose count runs past the end
// is absent, and a message that needs it is incomplete: what was read before
// it is still reported, the record being read is not. A list ends at the end
// of the payload even when its count promises more entries.

// The protocol the core's hello announces; 0 for an empty hello.
std::uint32_t DecodeHelloProtocol(GuiMessage& message);

struct OptionPair {
    std::string name;
    std::string value;
};
struct OptionsMessage {
    std::vector<OptionPair> pairs;
};
OptionsMessage DecodeOptions(GuiMessage& message);

struct ResultMessage {
    CoreResult result;
    // The names were read (the result's id, network and name are known).
    bool namesRead = false;
    bool complete = false;
};
ResultMessage DecodeResult(GuiMessage& message, InboundForm form);

struct SearchResultMessage {
    std::int32_t searchId = 0;
    std::int32_t resultId = 0;
};
SearchResultMessage DecodeSearchResult(GuiMessage& message);

std::optional<std::string> DecodeConsoleText(GuiMessage& message);

// The shared folders in a console text that answers the command `shares`,
// top of the core's list first; nullopt for any other text. Each listed line
// is "  <priority> <folder> <strategy>"; a line that does not read so, or
// whose folder is longer than kMaxSharedFolderPath, is skipped, and at most
// kMaxSharedFolders are kept.
inline constexpr std::size_t kMaxSharedFolders = 4096;
inline constexpr std::size_t kMaxSharedFolderPath = 4096;
std::optional<std::vector<CoreSharedFolder>> DecodeSharesAnswer(std::string_view text);

struct NetworkMessage {
    std::int32_t number = 0;
    std::string name;
    bool enabled = false;
    std::string configFile;
    std::int64_t uploaded = 0;
    std::int64_t downloaded = 0;
};
std::optional<NetworkMessage> DecodeNetwork(GuiMessage& message);

struct SharedFileUploadMessage {
    std::int32_t fileNumber = 0;
    std::int64_t uploaded = 0;
    std::int32_t requests = 0;
};
SharedFileUploadMessage DecodeSharedFileUpload(GuiMessage& message);

struct DownloadUpdateMessage {
    std::int32_t fileNumber = 0;
    std::int64_t downloaded = 0;
    double rate = 0.0;
    std::int32_t secondsSinceSeen = 0;
};
DownloadUpdateMessage DecodeDownloadUpdate(GuiMessage& message);

struct SharedFileMessage {
    std::int32_t fileNumber = 0;
    std::int32_t networkNumber = 0;
    std::string name;
    std::int64_t size = 0;
    std::int64_t uploaded = 0;
    std::int32_t requests = 0;
};
std::optional<SharedFileMessage> DecodeSharedFile(GuiMessage& message, InboundForm form);

// The core's running totals. Rates are in bytes per second.
struct ClientStatistics {
    std::int64_t totalUploaded = 0;
    std::int64_t totalDownloaded = 0;
    std::int64_t sharedBytes = 0;
    std::int32_t sharedFileCount = 0;
    std::int32_t uploadRateA = 0;
    std::int32_t downloadRateA = 0;
    std::int32_t uploadRateB = 0;
    std::int32_t downloadRateB = 0;
    std::int32_t downloadingFileCount = 0;
    std::int32_t downloadedFileCount = 0;

    friend bool operator==(const ClientStatistics&, const ClientStatistics&) = default;
};
struct ServerCount {
    std::int32_t networkNumber = 0;
    std::int32_t connectedServers = 0;
};
struct ClientStatsMessage {
    ClientStatistics stats;
    std::vector<ServerCount> servers;
};
ClientStatsMessage DecodeClientStats(GuiMessage& message);

struct FileNamesMessage {
    std::int32_t fileNumber = 0;
    std::int32_t networkNumber = 0;
    std::vector<std::string> names;
    bool complete = false;
};
FileNamesMessage DecodeFileNames(GuiMessage& message);

struct DownloadEntry {
    std::int32_t fileNumber = 0;
    std::int64_t size = 0;
    std::int64_t downloaded = 0;
    std::uint8_t state = 0;
    double rate = 0.0;
    std::string name;
};
struct DownloadListMessage {
    // Only the entries that were read whole.
    std::vector<DownloadEntry> entries;
    bool complete = false;
};
DownloadListMessage DecodeDownloadList(GuiMessage& message);

// A real core's File_info (opcode 52): the whole record of one file, laid
// out as one entry of the download list. Absent when the record is cut
// short. (An older core sends only the file's names under that opcode; see
// DecodeFileNames.)
std::optional<DownloadEntry> DecodeFileInfo(GuiMessage& message);

}  // namespace korvana
