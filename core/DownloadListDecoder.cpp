#include <utility>

#include "core/InboundMessages.h"
#include "core/TransferItem.h"
#include "core/WireReading.h"

namespace korvana {

using wire::GetInt32;
using wire::GetInt64;
using wire::ListReader;
using wire::SkipString;

namespace {

constexpr std::uint8_t kAbortedState = 6;

// Fields 7 to 13 of an entry: counts, state, chunks, availability, rate and
// ages. Only the state and the rate are kept.
bool ReadEntryProgress(GuiMessage& message, DownloadEntry& entry) {
    GetInt32(message);
    GetInt32(message);
    entry.state = message.Get8();
    if (entry.state == kAbortedState && !SkipString(message)) {
        return false;
    }
    if (!SkipString(message)) {
        return false;
    }
    for (ListReader availability(message); availability.Next();) {
        GetInt32(message);
        if (!SkipString(message)) {
            return false;
        }
    }
    entry.rate = message.GetDecimal();
    for (ListReader ages(message); ages.Next();) {
        GetInt32(message);
    }
    GetInt32(message);
    return true;
}

// The file's format: a kind byte, then as many strings and numbers as the
// kind has; unknown kinds carry nothing.
bool SkipFormat(GuiMessage& message) {
    const auto skipStrings = [&message](int count) {
        for (int i = 0; i < count; ++i) {
            if (!SkipString(message)) {
                return false;
            }
        }
        return true;
    };
    const auto skipInts = [&message](int count) {
        for (int i = 0; i < count; ++i) {
            GetInt32(message);
        }
        return true;
    };
    switch (message.Get8()) {
        case 1:
            return skipStrings(2);
        case 2:
            return skipStrings(1) && skipInts(4);
        case 3:
            return skipStrings(5) && skipInts(2);
        default:
            return true;
    }
}

bool ReadEntry(GuiMessage& message, DownloadEntry& entry) {
    entry.fileNumber = GetInt32(message);
    GetInt32(message);  // network number
    for (ListReader names(message); names.Next();) {
        if (!SkipString(message)) {
            return false;
        }
    }
    wire::GetHash(message);
    entry.size = GetInt64(message);
    entry.downloaded = GetInt64(message);
    if (!ReadEntryProgress(message, entry) || !SkipFormat(message)) {
        return false;
    }
    std::optional<std::string> name = wire::GetText(message, TransferItem::kMaxName);
    if (!name) {
        return false;
    }
    entry.name = std::move(*name);
    GetInt32(message);
    GetInt32(message);
    return SkipString(message);
}

}  // namespace

std::optional<DownloadEntry> DecodeFileInfo(GuiMessage& message) {
    DownloadEntry entry;
    if (!ReadEntry(message, entry)) {
        return std::nullopt;
    }
    return entry;
}

DownloadListMessage DecodeDownloadList(GuiMessage& message) {
    DownloadListMessage decoded;
    for (ListReader entries(message); entries.Next();) {
        DownloadEntry entry;
        if (!ReadEntry(message, entry)) {
            return decoded;
        }
        decoded.entries.push_back(std::move(entry));
    }
    decoded.complete = true;
    return decoded;
}

}  // namespace korvana
