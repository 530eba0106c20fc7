#include "core/InboundMessages.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <utility>

#include "core/WireReading.h"
#include "util/HexDigit.h"

namespace korvana {

using wire::GetFlag;
using wire::GetInt32;
using wire::GetInt64;
using wire::GetText;
using wire::ListReader;

namespace {

// Network names and the kept configuration text are short fields.
constexpr std::size_t kMaxNetworkText = 63;
constexpr std::size_t kMaxFileName = 511;

// "urn:ed2k:" followed by 32 hex digits is the file's 16-byte hash.
bool ParseEd2kUid(std::string_view uid, std::array<std::uint8_t, 16>& hash) {
    constexpr std::string_view kPrefix = "urn:ed2k:";
    if (uid.size() != kPrefix.size() + 32 || uid.substr(0, kPrefix.size()) != kPrefix) {
        return false;
    }
    std::array<std::uint8_t, 16> parsed{};
    for (std::size_t i = 0; i < parsed.size(); ++i) {
        const int high = HexValue(uid[kPrefix.size() + 2 * i]);
        const int low = HexValue(uid[kPrefix.size() + 2 * i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        parsed[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    hash = parsed;
    return true;
}

// The real core names a result by uids instead of a raw hash; the first
// ed2k uid gives the hash. False when a uid is absent.
bool ReadUids(GuiMessage& message, std::array<std::uint8_t, 16>& hash) {
    bool found = false;
    for (ListReader uids(message); uids.Next();) {
        const std::optional<std::string> uid = message.GetString();
        if (!uid) {
            return false;
        }
        found = found || ParseEd2kUid(*uid, hash);
    }
    return true;
}

// The real core's extra tag types carry numbers of other widths; an
// unknown type cannot be stepped over, so it ends the message.
bool ReadRealCoreTagValue(GuiMessage& message, CoreTag& tag) {
    switch (tag.type) {
        case 0:
        case 1:
        case 3:
            tag.intValue = GetInt32(message);
            return true;
        case 4:
            tag.intValue = static_cast<std::int16_t>(message.Get16());
            return true;
        case 5:
            tag.intValue = static_cast<std::int8_t>(message.Get8());
            return true;
        case 6:
            tag.intValue = GetInt32(message);
            message.Get32();
            return true;
        default:
            return false;
    }
}

bool ReadTag(GuiMessage& message, InboundForm form, CoreTag& tag) {
    std::optional<std::string> name = GetText(message, CoreTag::kMaxName);
    if (!name) {
        return false;
    }
    tag.name = std::move(*name);
    tag.type = message.Get8();
    if (tag.type == CoreTag::kTextType) {
        std::optional<std::string> text = GetText(message, CoreTag::kMaxText);
        if (!text) {
            return false;
        }
        tag.text = std::move(*text);
        return true;
    }
    if (form == InboundForm::Classic) {
        tag.intValue = GetInt32(message);
        return true;
    }
    return ReadRealCoreTagValue(message, tag);
}

// Tags are kept newest first, the reverse of their order on the wire.
bool ReadTags(GuiMessage& message, InboundForm form, CoreTags& packed) {
    std::vector<CoreTag> tags;
    for (ListReader list(message); list.Next();) {
        CoreTag tag;
        if (!ReadTag(message, form, tag)) {
            return false;
        }
        tags.push_back(std::move(tag));
    }
    std::reverse(tags.begin(), tags.end());
    packed = CoreTags(tags);
    return true;
}

bool ReadResultNames(GuiMessage& message, CoreResult& result) {
    bool first = true;
    for (ListReader names(message); names.Next();) {
        std::optional<std::string> name = GetText(message, CoreResult::kMaxName);
        if (!name) {
            return false;
        }
        if (first) {
            result.name = std::move(*name);
            first = false;
        }
    }
    return true;
}

bool ReadResultBody(GuiMessage& message, InboundForm form, CoreResult& result) {
    if (form == InboundForm::Classic) {
        result.hash = wire::GetHash(message);
    } else if (!ReadUids(message, result.hash)) {
        return false;
    }
    result.size = GetInt64(message);
    std::optional<std::string> format = GetText(message, CoreResult::kMaxFormat);
    if (!format) {
        return false;
    }
    std::optional<std::string> type = GetText(message, CoreResult::kMaxType);
    if (!type || !ReadTags(message, form, result.tags)) {
        return false;
    }
    std::optional<std::string> comment = GetText(message, CoreResult::kMaxComment);
    if (!comment) {
        return false;
    }
    result.format = std::move(*format);
    result.type = std::move(*type);
    result.comment = std::move(*comment);
    result.done = message.Get8();
    if (form == InboundForm::RealCore) {
        GetInt32(message);  // the result's age
    }
    return true;
}

}  // namespace

InboundForm FormForProtocol(std::uint32_t protocol) {
    return protocol >= kRealCoreProtocol ? InboundForm::RealCore : InboundForm::Classic;
}

std::uint32_t DecodeHelloProtocol(GuiMessage& message) {
    return message.Get32();
}

OptionsMessage DecodeOptions(GuiMessage& message) {
    OptionsMessage options;
    for (ListReader pairs(message); pairs.Next();) {
        std::optional<std::string> name = message.GetString();
        if (!name) {
            break;
        }
        std::optional<std::string> value = message.GetString();
        if (!value) {
            break;
        }
        options.pairs.push_back({std::move(*name), std::move(*value)});
    }
    return options;
}

ResultMessage DecodeResult(GuiMessage& message, InboundForm form) {
    ResultMessage decoded;
    decoded.result.resultId = GetInt32(message);
    decoded.result.networkNumber = GetInt32(message);
    if (!ReadResultNames(message, decoded.result)) {
        return decoded;
    }
    decoded.namesRead = true;
    decoded.complete = ReadResultBody(message, form, decoded.result);
    return decoded;
}

SearchResultMessage DecodeSearchResult(GuiMessage& message) {
    SearchResultMessage decoded;
    decoded.searchId = GetInt32(message);
    decoded.resultId = GetInt32(message);
    return decoded;
}

std::optional<std::string> DecodeConsoleText(GuiMessage& message) {
    return message.GetString();
}

std::optional<NetworkMessage> DecodeNetwork(GuiMessage& message) {
    NetworkMessage network;
    network.number = GetInt32(message);
    std::optional<std::string> name = GetText(message, kMaxNetworkText);
    if (!name) {
        return std::nullopt;
    }
    network.name = std::move(*name);
    network.enabled = GetFlag(message);
    std::optional<std::string> configFile = GetText(message, kMaxNetworkText);
    if (!configFile) {
        return std::nullopt;
    }
    network.configFile = std::move(*configFile);
    network.uploaded = GetInt64(message);
    network.downloaded = GetInt64(message);
    return network;
}

SharedFileUploadMessage DecodeSharedFileUpload(GuiMessage& message) {
    SharedFileUploadMessage upload;
    upload.fileNumber = GetInt32(message);
    upload.uploaded = GetInt64(message);
    upload.requests = GetInt32(message);
    return upload;
}

DownloadUpdateMessage DecodeDownloadUpdate(GuiMessage& message) {
    DownloadUpdateMessage update;
    update.fileNumber = GetInt32(message);
    update.downloaded = GetInt64(message);
    update.rate = message.GetDecimal();
    update.secondsSinceSeen = GetInt32(message);
    return update;
}

std::optional<SharedFileMessage> DecodeSharedFile(GuiMessage& message, InboundForm form) {
    SharedFileMessage shared;
    shared.fileNumber = GetInt32(message);
    shared.networkNumber = GetInt32(message);
    std::optional<std::string> name = GetText(message, kMaxFileName);
    if (!name) {
        return std::nullopt;
    }
    shared.name = std::move(*name);
    shared.size = form == InboundForm::RealCore ? GetInt64(message) : GetInt32(message);
    shared.uploaded = GetInt64(message);
    shared.requests = GetInt32(message);
    return shared;
}

ClientStatsMessage DecodeClientStats(GuiMessage& message) {
    ClientStatsMessage decoded;
    ClientStatistics& stats = decoded.stats;
    stats.totalUploaded = GetInt64(message);
    stats.totalDownloaded = GetInt64(message);
    stats.sharedBytes = GetInt64(message);
    stats.sharedFileCount = GetInt32(message);
    stats.uploadRateA = GetInt32(message);
    stats.downloadRateA = GetInt32(message);
    stats.uploadRateB = GetInt32(message);
    stats.downloadRateB = GetInt32(message);
    stats.downloadingFileCount = GetInt32(message);
    stats.downloadedFileCount = GetInt32(message);
    for (ListReader list(message); list.Next();) {
        ServerCount count;
        count.networkNumber = GetInt32(message);
        count.connectedServers = GetInt32(message);
        decoded.servers.push_back(count);
    }
    return decoded;
}

FileNamesMessage DecodeFileNames(GuiMessage& message) {
    FileNamesMessage decoded;
    decoded.fileNumber = GetInt32(message);
    decoded.networkNumber = GetInt32(message);
    for (ListReader names(message); names.Next();) {
        std::optional<std::string> name = GetText(message, kMaxFileName);
        if (!name) {
            return decoded;
        }
        decoded.names.push_back(std::move(*name));
    }
    decoded.complete = true;
    return decoded;
}

namespace {

// "  <priority> <folder> <strategy>": the folder may hold spaces; neither the
// priority nor the strategy can.
std::optional<CoreSharedFolder> ReadShareLine(std::string_view line) {
    if (line.substr(0, 2) != "  ") {
        return std::nullopt;
    }
    line.remove_prefix(2);
    const std::size_t afterPriority = line.find(' ');
    const std::size_t beforeStrategy = line.rfind(' ');
    if (afterPriority == std::string_view::npos || beforeStrategy <= afterPriority + 1 ||
        beforeStrategy + 1 >= line.size()) {
        return std::nullopt;
    }
    CoreSharedFolder entry;
    const std::string_view priority = line.substr(0, afterPriority);
    const auto [end, error] =
        std::from_chars(priority.data(), priority.data() + priority.size(), entry.priority);
    const std::string_view folder =
        line.substr(afterPriority + 1, beforeStrategy - afterPriority - 1);
    if (error != std::errc() || end != priority.data() + priority.size() ||
        folder.size() > kMaxSharedFolderPath) {
        return std::nullopt;
    }
    entry.folder = std::string(folder);
    entry.strategy = std::string(line.substr(beforeStrategy + 1));
    return entry;
}

}  // namespace

std::optional<std::vector<CoreSharedFolder>> DecodeSharesAnswer(std::string_view text) {
    constexpr std::string_view kCommand = "Eval command: shares\n";
    constexpr std::string_view kHeading = "\nShared directories:\n";
    const std::size_t command = text.find(kCommand);
    const std::size_t heading =
        command == std::string_view::npos ? command : text.find(kHeading, command);
    if (heading == std::string_view::npos) {
        return std::nullopt;
    }
    std::vector<CoreSharedFolder> folders;
    std::string_view rest = text.substr(heading + kHeading.size());
    while (!rest.empty() && folders.size() < kMaxSharedFolders) {
        const std::size_t newline = rest.find('\n');
        const std::string_view line = rest.substr(0, newline);
        if (line.empty()) {
            break;
        }
        if (std::optional<CoreSharedFolder> entry = ReadShareLine(line)) {
            folders.push_back(std::move(*entry));
        }
        rest = newline == std::string_view::npos ? std::string_view() : rest.substr(newline + 1);
    }
    return folders;
}

}  // namespace korvana
