#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/TransferItem.h"

namespace korvana {

// The status texts a download row can show.
namespace status {
// Web downloads.
inline constexpr std::string_view kContacting = "Contacting server";
inline constexpr std::string_view kUserCancelled = "User Cancelled";
inline constexpr std::string_view kCannotContact = "Error - Cannot Contact Server";
inline constexpr std::string_view kMissingFile = "Error - Server Missing File";
inline constexpr std::string_view kTimeout = "Error - Connection Timeout";
inline constexpr std::string_view kError = "Error";
inline constexpr std::string_view kFinished = "Finished";
inline constexpr std::string_view kDownloading = "Downloading";
// Core downloads.
inline constexpr std::string_view kCoreCancelled = "Download Cancelled";
inline constexpr std::string_view kCoreCompleted = "Download Completed";
inline constexpr std::string_view kCoreDownloading = "File Downloading";
inline constexpr std::string_view kCorePaused = "Download Paused";
inline constexpr std::string_view kCoreDownloaded = "File Downloaded";
inline constexpr std::string_view kCoreShared = "File Shared";
inline constexpr std::string_view kCoreNew = "New File";
inline constexpr std::string_view kCoreAborted = "Download Aborted";
inline constexpr std::string_view kCoreQueued = "File Queued";
}  // namespace status

// A core download's states as the core reports them.
enum CoreFileState : std::uint8_t {
    kCoreStateDownloading = 0,
    kCoreStatePaused = 1,
    kCoreStateDownloaded = 2,
    kCoreStateShared = 3,
    kCoreStateCancelled = 4,
    kCoreStateNew = 5,
    kCoreStateAborted = 6,
    kCoreStateQueued = 7,
};

// The row's status. A core download found complete gets its finish time set
// to `now` (again at every refresh), which is why this takes the record.
std::string DownloadStatusText(TransferItem& item, std::time_t now);

// A core download that still has bytes to come and was not cancelled:
// downloading and not complete, paused or queued.
bool IsCoreDownloadUnfinished(const TransferItem& item);
// A download that paused, was cancelled or failed: its row shows no rate and
// no time left, since nothing arrives.
bool IsTransferHalted(const TransferItem& item);
// Whether the row's texts can change with the clock alone: a running web
// download's average rate, and the time left of one that has received part
// of a known size, both measured from its start to now.
bool ChangesWithTime(const TransferItem& item);

// An upload that the core has not mentioned for this long leaves the list.
inline constexpr std::time_t kUploadShownSeconds = 30;
// Whether an upload has a row: something uploaded, and reported in the last
// 30 seconds.
bool IsUploadShown(const UploadItem& item, std::time_t now);

// Whole percent received, 0 to 100; empty while the size is unknown, which
// draws an empty bar.
std::string ProgressText(std::int64_t downloaded, std::int64_t size);
// "File Size": the byte count in decimal.
std::string SizeText(std::int64_t size);
// A core download's rate as the core reports it, "%5.2f KB/s".
std::string CoreRateText(float bytesPerSecond);
// A web download's average rate since it started, "%.2f KB/s", or
// "- KB/s" before any byte or any second.
std::string WebRateText(std::int64_t downloaded, std::int64_t elapsedSeconds);
// Hours, minutes and seconds left at the average rate so far, "hh:mm:ss"
// with whole days dropped. "--:--:--" while that rate or the size is
// unknown (nothing received, no time elapsed, size 0), "00:00:00" once
// everything (or more) has arrived.
std::string TimeLeftText(std::int64_t downloaded, std::int64_t size, std::int64_t elapsedSeconds);
// The whole seconds behind TimeLeftText, days included: 0 once everything
// has arrived, none where it shows "--:--:--".
std::optional<std::int64_t> SecondsLeft(std::int64_t downloaded, std::int64_t size,
                                        std::int64_t elapsedSeconds);
// A web download's average rate since it started in bytes per second, as
// WebRateText shows it; none where it shows "- KB/s".
std::optional<double> WebRate(std::int64_t downloaded, std::int64_t elapsedSeconds);

// `value` with `decimals` decimals and a point whatever the locale,
// right-aligned in `width` characters.
std::string FixedDecimals(double value, int decimals, int width = 0);

}  // namespace korvana
