#include "tools/sim/CoreMessages.h"

#include <algorithm>
#include <charconv>

namespace korvana::sim {
namespace {

// Payload room of one message: the body limit less the two opcode bytes.
constexpr std::size_t kPayloadRoom = GuiMessage::kMaxPayload - 2;
// A real core splits files into chunks of this size in its chunk strings.
constexpr std::uint64_t kChunkSize = 9728000;

void PutText(GuiMessage& message, std::string_view text) {
    message.PutString(text.substr(0, 0xFFFF));
}

void PutBytes(GuiMessage& message, const std::uint8_t* bytes, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        message.Put8(bytes[i]);
    }
}

void PutPayloadOf(GuiMessage& target, const GuiMessage& source) {
    PutBytes(target, source.Payload().data(), source.Payload().size());
}

void PutTag(GuiMessage& message, const Tag& tag) {
    PutText(message, tag.name);
    message.Put8(tag.type);
    if (tag.type == 2) {
        PutText(message, tag.text);
    } else {
        message.Put32(tag.number);
    }
}

std::string ChunkString(std::uint64_t size, std::uint64_t downloaded) {
    const std::uint64_t count = std::max<std::uint64_t>(1, (size + kChunkSize - 1) / kChunkSize);
    std::string chunks;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t end = std::min(size, (i + 1) * kChunkSize);
        chunks += downloaded >= end ? '2' : (downloaded > i * kChunkSize ? '1' : '0');
    }
    return chunks;
}

void PutDownloadEntryUpToName(GuiMessage& message, const DownloadInfo& d) {
    message.Put32(static_cast<std::uint32_t>(d.number));
    message.Put32(static_cast<std::uint32_t>(d.network));
    message.Put16(1);
    PutText(message, d.name);
    PutBytes(message, d.hash.data(), d.hash.size());
    message.Put64(d.size);
    message.Put64(d.downloaded);
    const bool running = d.state == 0;
    message.Put32(running ? 3 : 0);  // sources
    message.Put32(running ? 1 : 0);  // active sources
    message.Put8(d.state);
    if (d.state == 6) {
        PutText(message, d.reason);
    }
    const std::string chunks = ChunkString(d.size, d.downloaded);
    PutText(message, chunks);
    message.Put16(1);
    message.Put32(static_cast<std::uint32_t>(d.network));
    PutText(message, std::string(chunks.size(), running ? '1' : '0'));
    PutText(message, FormatDecimal(d.rate));
    message.Put16(static_cast<std::uint16_t>(chunks.size()));
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        message.Put32(0);  // chunk age
    }
    message.Put32(0);  // file age
    message.Put8(3);   // format: MP3 tags
    for (const std::string* text : {&d.title, &d.artist, &d.album, &d.year}) {
        PutText(message, *text);
    }
    PutText(message, "");  // comment
    message.Put32(0);      // track
    message.Put32(0);      // genre
}

void PutDownloadEntry(GuiMessage& message, const DownloadInfo& d) {
    PutDownloadEntryUpToName(message, d);
    PutText(message, d.name);
    message.Put32(0);  // seconds since last seen
    message.Put32(0);  // priority
    PutText(message, "");
}

}  // namespace

std::string FormatDecimal(double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
    return std::string(text, result.ptr);
}

std::string HashUid(const Hash& hash) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string uid = "urn:ed2k:";
    for (std::uint8_t byte : hash) {
        uid += kDigits[byte >> 4];
        uid += kDigits[byte & 15];
    }
    return uid;
}

GuiMessage EncodeHello(WireForm form) {
    GuiMessage message(to_gui::kCoreProtocol);
    if (form == WireForm::kRealCore) {
        message.Put32(41);  // protocol
        message.Put32(59);  // highest opcode to the core
        message.Put32(68);  // highest opcode from the core
    }
    return message;
}

GuiMessage EncodeBadPassword() {
    return GuiMessage(to_gui::kBadPassword);
}

GuiMessage EncodeConsole(std::string_view text) {
    GuiMessage message(to_gui::kConsole);
    PutText(message, text.substr(0, kPayloadRoom - 2));
    return message;
}

std::string ConsoleAnswer(std::string_view command, std::string_view output) {
    std::string text = "\n----------------------------------\nEval command: ";
    text.append(command);
    text += "\n\n";
    text.append(output);
    text += "\n\n";
    return text;
}

std::vector<GuiMessage> EncodeOptions(const std::vector<OptionPair>& pairs) {
    std::vector<GuiMessage> messages;
    std::vector<const OptionPair*> batch;
    std::size_t used = 2;
    const auto flush = [&] {
        if (batch.empty()) {
            return;
        }
        GuiMessage& message = messages.emplace_back(to_gui::kOptions);
        message.Put16(static_cast<std::uint16_t>(batch.size()));
        for (const OptionPair* pair : batch) {
            PutText(message, pair->first);
            PutText(message, pair->second);
        }
        batch.clear();
        used = 2;
    };
    for (const OptionPair& pair : pairs) {
        const std::size_t size = 4 + pair.first.size() + pair.second.size();
        if (size + 2 > kPayloadRoom) {
            continue;
        }
        if (used + size > kPayloadRoom) {
            flush();
        }
        batch.push_back(&pair);
        used += size;
    }
    flush();
    return messages;
}

GuiMessage EncodeNetwork(const NetworkInfo& network, WireForm form) {
    GuiMessage message(to_gui::kNetwork);
    message.Put32(static_cast<std::uint32_t>(network.number));
    PutText(message, network.name);
    message.Put8(network.enabled ? 1 : 0);
    PutText(message, network.configFile);
    message.Put64(0);  // uploaded
    message.Put64(0);  // downloaded
    if (form == WireForm::kRealCore) {
        message.Put32(static_cast<std::uint32_t>(network.servers));
        message.Put16(0);  // network flags
    }
    return message;
}

GuiMessage EncodeResult(const ResultInfo& result, WireForm form) {
    GuiMessage message(to_gui::kResult);
    message.Put32(static_cast<std::uint32_t>(result.id));
    message.Put32(static_cast<std::uint32_t>(result.network));
    message.Put16(1);
    PutText(message, result.name);
    if (form == WireForm::kRealCore) {
        message.Put16(1);
        PutText(message, HashUid(result.hash));
    } else {
        PutBytes(message, result.hash.data(), result.hash.size());
    }
    message.Put64(result.size);
    PutText(message, result.format);
    PutText(message, result.type);
    message.Put16(static_cast<std::uint16_t>(result.tags.size()));
    for (const Tag& tag : result.tags) {
        PutTag(message, tag);
    }
    PutText(message, result.comment);
    message.Put8(0);  // already downloaded
    if (form == WireForm::kRealCore) {
        message.Put32(0);  // age in seconds
    }
    return message;
}

GuiMessage EncodeSearchResult(std::int32_t searchId, std::int32_t resultId) {
    GuiMessage message(to_gui::kSearchResult);
    message.Put32(static_cast<std::uint32_t>(searchId));
    message.Put32(static_cast<std::uint32_t>(resultId));
    return message;
}

GuiMessage EncodeClientStats(const ClientStats& stats) {
    GuiMessage message(to_gui::kClientStats);
    message.Put64(stats.uploaded);
    message.Put64(stats.downloaded);
    message.Put64(stats.sharedBytes);
    for (std::int32_t value : {stats.sharedFiles, stats.uploadRate, stats.downloadRate, 0, 0,
                               stats.downloadingFiles, stats.downloadedFiles}) {
        message.Put32(static_cast<std::uint32_t>(value));
    }
    message.Put16(static_cast<std::uint16_t>(stats.servers.size()));
    for (const auto& [network, servers] : stats.servers) {
        message.Put32(static_cast<std::uint32_t>(network));
        message.Put32(static_cast<std::uint32_t>(servers));
    }
    return message;
}

GuiMessage EncodeSharedFile(const SharedFileInfo& file, WireForm form) {
    GuiMessage message(to_gui::kSharedFile);
    message.Put32(static_cast<std::uint32_t>(file.number));
    message.Put32(static_cast<std::uint32_t>(file.network));
    PutText(message, file.name);
    if (form == WireForm::kRealCore) {
        message.Put64(file.size);
    } else {
        message.Put32(static_cast<std::uint32_t>(file.size));
    }
    message.Put64(file.uploaded);
    message.Put32(static_cast<std::uint32_t>(file.requests));
    if (form == WireForm::kRealCore) {
        const Hash unhashed{};
        PutBytes(message, unhashed.data(), unhashed.size());
    }
    return message;
}

GuiMessage EncodeSharedFileUpload(const SharedFileInfo& file) {
    GuiMessage message(to_gui::kSharedFileUpload);
    message.Put32(static_cast<std::uint32_t>(file.number));
    message.Put64(file.uploaded);
    message.Put32(static_cast<std::uint32_t>(file.requests));
    return message;
}

GuiMessage EncodeDownloadUpdate(const DownloadInfo& download) {
    GuiMessage message(to_gui::kDownloadUpdate);
    message.Put32(static_cast<std::uint32_t>(download.number));
    message.Put64(download.downloaded);
    PutText(message, FormatDecimal(download.rate));
    message.Put32(0);  // seconds since last seen
    return message;
}

std::vector<GuiMessage> EncodeDownloadList(const std::vector<DownloadInfo>& downloads) {
    std::vector<GuiMessage> entries;
    for (const DownloadInfo& download : downloads) {
        PutDownloadEntry(entries.emplace_back(), download);
    }
    std::vector<GuiMessage> messages;
    std::size_t first = 0;
    do {
        std::size_t last = first;
        std::size_t used = 2;
        while (last < entries.size() && used + entries[last].Length() <= kPayloadRoom) {
            used += entries[last++].Length();
        }
        last = std::max(last, std::min(first + 1, entries.size()));
        GuiMessage& message = messages.emplace_back(to_gui::kDownloadList);
        message.Put16(static_cast<std::uint16_t>(last - first));
        for (std::size_t i = first; i < last; ++i) {
            PutPayloadOf(message, entries[i]);
        }
        first = last;
    } while (first < entries.size());
    return messages;
}

GuiMessage EncodeTruncatedOptions(const OptionPair& goodPair) {
    GuiMessage message(to_gui::kOptions);
    message.Put16(2);
    PutText(message, goodPair.first);
    PutText(message, goodPair.second);
    PutText(message, goodPair.first);
    message.Put16(500);
    PutText(message, "cut");
    return message;
}

GuiMessage EncodeTruncatedResult(std::int32_t resultId, std::int32_t network) {
    GuiMessage message(to_gui::kResult);
    message.Put32(static_cast<std::uint32_t>(resultId));
    message.Put32(static_cast<std::uint32_t>(network));
    message.Put16(1);
    message.Put16(300);
    PutText(message, "Cut Off");
    return message;
}

GuiMessage EncodeDownloadListWithTruncatedTail(const std::vector<DownloadInfo>& downloads) {
    GuiMessage message(to_gui::kDownloadList);
    message.Put16(static_cast<std::uint16_t>(downloads.size() + 1));
    for (const DownloadInfo& download : downloads) {
        PutDownloadEntry(message, download);
    }
    DownloadInfo cut;
    cut.number = 0x7FFFFFF0;
    cut.name = "cut off";
    PutDownloadEntryUpToName(message, cut);
    message.Put16(400);
    PutText(message, "cut");
    return message;
}

}  // namespace korvana::sim
