#include "transfers/TransferTexts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace korvana {
namespace {

constexpr std::string_view kNoTimeLeft = "--:--:--";
// Beyond this many seconds the estimate means nothing (and would not fit
// the arithmetic below).
constexpr double kLongestEstimate = 4.0e18;

std::string_view WebStatus(const TransferItem& item) {
    if (item.contacting) {
        return status::kContacting;
    }
    if (item.cancelled) {
        return status::kUserCancelled;
    }
    switch (item.errorCode) {
        case 0:
            break;
        case 1:
            return status::kCannotContact;
        case 2:
            return status::kMissingFile;
        case 3:
            return status::kTimeout;
        default:
            return status::kError;
    }
    return item.downloaded == item.size ? status::kFinished : status::kDownloading;
}

std::string_view CoreStatus(const TransferItem& item) {
    if (item.cancelled) {
        return status::kCoreCancelled;
    }
    switch (item.coreState) {
        case kCoreStateDownloading:
            return item.downloaded == item.size ? status::kCoreCompleted : status::kCoreDownloading;
        case kCoreStatePaused:
            return status::kCorePaused;
        case kCoreStateDownloaded:
            return status::kCoreDownloaded;
        case kCoreStateShared:
            return status::kCoreShared;
        case kCoreStateCancelled:
            return status::kCoreCancelled;
        case kCoreStateNew:
            return status::kCoreNew;
        case kCoreStateAborted:
            return status::kCoreAborted;
        case kCoreStateQueued:
            return status::kCoreQueued;
        default:
            return {};
    }
}

}  // namespace

std::int64_t KeyValue(std::string_view key) {
    std::size_t i = 0;
    while (i < key.size() && (key[i] == ' ' || (key[i] >= '\t' && key[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < key.size() && (key[i] == '+' || key[i] == '-')) {
        negative = key[i] == '-';
        ++i;
    }
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (; i < key.size() && key[i] >= '0' && key[i] <= '9'; ++i) {
        const int digit = key[i] - '0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return negative ? -value : value;
}

std::int32_t FileNumberOf(std::string_view key) {
    const std::int64_t value = KeyValue(key);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

bool IsCoreDownloadUnfinished(const TransferItem& item) {
    if (item.cancelled) {
        return false;
    }
    switch (item.coreState) {
        case kCoreStateDownloading:
            return item.downloaded != item.size;
        case kCoreStatePaused:
        case kCoreStateQueued:
            return true;
        default:
            return false;
    }
}

bool IsTransferHalted(const TransferItem& item) {
    if (item.cancelled) {
        return true;
    }
    if (!IsCoreKey(item.key)) {
        return item.errorCode != 0;
    }
    return item.coreState == kCoreStatePaused || item.coreState == kCoreStateCancelled ||
           item.coreState == kCoreStateAborted;
}

std::string DownloadStatusText(TransferItem& item, std::time_t now) {
    if (!IsCoreKey(item.key)) {
        return std::string(WebStatus(item));
    }
    const std::string_view text = CoreStatus(item);
    if (text == status::kCoreCompleted || text == status::kCoreDownloaded) {
        item.finishTime = now;
    }
    return std::string(text);
}

std::string ProgressText(std::int64_t downloaded, std::int64_t size) {
    if (size <= 0) {
        return {};
    }
    const double percent = static_cast<double>(downloaded) / static_cast<double>(size) * 100.0;
    return std::to_string(static_cast<int>(std::clamp(percent, 0.0, 100.0)));
}

std::string SizeText(std::int64_t size) {
    return std::to_string(size);
}

std::string CoreRateText(float bytesPerSecond) {
    return FixedDecimals(bytesPerSecond / 1024.0, 2, 5) + " KB/s";
}

std::string WebRateText(std::int64_t downloaded, std::int64_t elapsedSeconds) {
    if (downloaded <= 0 || elapsedSeconds <= 0) {
        return "- KB/s";
    }
    const double rate =
        static_cast<double>(downloaded) / static_cast<double>(elapsedSeconds) / 1024.0;
    return FixedDecimals(rate, 2) + " KB/s";
}

std::string TimeLeftText(std::int64_t downloaded, std::int64_t size, std::int64_t elapsedSeconds) {
    if (size <= 0) {
        return std::string(kNoTimeLeft);
    }
    if (downloaded >= size) {
        return "00:00:00";
    }
    if (downloaded <= 0 || elapsedSeconds <= 0) {
        return std::string(kNoTimeLeft);
    }
    const double average = static_cast<double>(downloaded) / static_cast<double>(elapsedSeconds);
    const double left = static_cast<double>(size - downloaded) / average;
    if (!(left < kLongestEstimate)) {
        return std::string(kNoTimeLeft);
    }
    const auto seconds = static_cast<std::uint64_t>(left);
    const std::uint64_t parts[3] = {seconds % 86400 / 3600, seconds % 3600 / 60, seconds % 60};
    std::string text;
    for (const std::uint64_t part : parts) {
        if (!text.empty()) {
            text += ':';
        }
        text += static_cast<char>('0' + part / 10);
        text += static_cast<char>('0' + part % 10);
    }
    return text;
}

std::string FixedDecimals(double value, int decimals, int width) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text = error == std::errc() ? std::string(buffer, end) : std::string("0");
    if (static_cast<int>(text.size()) < width) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    }
    return text;
}

}  // namespace korvana
