#include "transfers/TransferTexts.h"

#include <algorithm>
#include <charconv>
#include <cmath>

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
    if (!item.key.IsCore()) {
        return item.errorCode != 0;
    }
    return item.coreState == kCoreStatePaused || item.coreState == kCoreStateCancelled ||
           item.coreState == kCoreStateAborted;
}

// A core download found complete takes every refresh's time as its finish
// time (DownloadStatusText), so its elapsed time grows as a running one's.
bool ChangesWithTime(const TransferItem& item) {
    if (IsTransferHalted(item)) {
        return false;
    }
    const std::string_view status = item.key.IsCore() ? CoreStatus(item) : std::string_view();
    const bool elapsedGrows = item.finishTime == 0 || status == status::kCoreCompleted ||
                              status == status::kCoreDownloaded;
    if (!elapsedGrows || item.downloaded <= 0) {
        return false;
    }
    const bool averageRateShown = !item.key.IsCore();
    const bool timeLeftMoves = item.size > 0 && item.downloaded < item.size;
    return averageRateShown || timeLeftMoves;
}

bool IsUploadShown(const UploadItem& item, std::time_t now) {
    return item.uploaded > 0 && now - item.lastUpdate < kUploadShownSeconds;
}

std::string DownloadStatusText(TransferItem& item, std::time_t now) {
    if (!item.key.IsCore()) {
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

std::optional<double> WebRate(std::int64_t downloaded, std::int64_t elapsedSeconds) {
    if (downloaded <= 0 || elapsedSeconds <= 0) {
        return std::nullopt;
    }
    return static_cast<double>(downloaded) / static_cast<double>(elapsedSeconds);
}

std::string WebRateText(std::int64_t downloaded, std::int64_t elapsedSeconds) {
    const std::optional<double> rate = WebRate(downloaded, elapsedSeconds);
    return rate ? FixedDecimals(*rate / 1024.0, 2) + " KB/s" : std::string("- KB/s");
}

std::optional<std::int64_t> SecondsLeft(std::int64_t downloaded, std::int64_t size,
                                        std::int64_t elapsedSeconds) {
    if (size <= 0) {
        return std::nullopt;
    }
    if (downloaded >= size) {
        return 0;
    }
    if (downloaded <= 0 || elapsedSeconds <= 0) {
        return std::nullopt;
    }
    const double average = static_cast<double>(downloaded) / static_cast<double>(elapsedSeconds);
    const double left = static_cast<double>(size - downloaded) / average;
    if (!(left < kLongestEstimate)) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(left);
}

std::string TimeLeftText(std::int64_t downloaded, std::int64_t size, std::int64_t elapsedSeconds) {
    const std::optional<std::int64_t> left = SecondsLeft(downloaded, size, elapsedSeconds);
    if (!left) {
        return std::string(kNoTimeLeft);
    }
    const auto seconds = static_cast<std::uint64_t>(*left);
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
