#include <algorithm>
#include <vector>

#include "core/StatusLine.h"
#include "core/StatusLog.h"
#include "platform/Clock.h"
#include "transfers/TransferBoard.h"
#include "transfers/TransferList.h"
#include "transfers/TransferTexts.h"

namespace korvana {
namespace {

// An upload that the core has not mentioned for this long leaves the list.
constexpr std::time_t kUploadShownSeconds = 30;

}  // namespace

TransferBoard::TransferBoard(TransferBoardServices services)
    : services_(services),
      downloads_(kDownloadColumns, {kDownloadName, kDownloadLink}),
      uploads_(kUploadColumns, {kUploadFileId}) {}

void TransferBoard::Tick() {
    {
        const auto lock = services_.list.Lock();
        const std::time_t now = services_.clock.WallNow();
        RefreshDownloads(now);
        RefreshUploads(now);
        ComputeWebTotals(now);
    }
    downloads_.Commit();
    uploads_.Commit();
}

void TransferBoard::RefreshDownloads(std::time_t now) {
    services_.list.ForEachDownload(
        [this, now](TransferItem& item) { WriteDownloadRow(item, now); });
}

// A row is found by name and key together. Only texts that changed are
// written, so an idle list costs the view nothing.
void TransferBoard::WriteDownloadRow(TransferItem& item, std::time_t now) {
    const bool core = IsCoreKey(item.key);
    const std::string statusText = DownloadStatusText(item, now);
    const std::int64_t elapsed =
        static_cast<std::int64_t>((item.finishTime > 0 ? item.finishTime : now) - item.startTime);
    const bool halted = IsTransferHalted(item);
    std::string rate;
    if (!halted) {
        rate = core ? CoreRateText(item.rate) : WebRateText(item.downloaded, elapsed);
    }
    const std::string progress = ProgressText(item.downloaded, item.size);
    const std::string size = SizeText(item.size);
    const std::optional<std::size_t> row = downloads_.Find({item.name, item.key});
    if (!row) {
        // The time left follows at the next refresh.
        downloads_.Append({item.name, progress, rate, "", size, statusText, item.key, progress});
        return;
    }
    downloads_.Write(*row, kDownloadRate, rate);
    downloads_.Write(*row, kDownloadTimeLeft,
                     halted ? std::string() : TimeLeftText(item.downloaded, item.size, elapsed));
    downloads_.Write(*row, kDownloadSize, size);
    downloads_.Write(*row, kDownloadStatus, statusText);
    downloads_.Write(*row, kDownloadLink, item.key);
    downloads_.Write(*row, kDownloadBar, progress);
    downloads_.Write(*row, kDownloadProgress, progress);
}

void TransferBoard::RefreshUploads(std::time_t now) {
    int count = 0;
    std::vector<std::size_t> stale;
    services_.list.ForEachUpload([&](const UploadItem& item) {
        if (item.uploaded <= 0) {
            return;
        }
        const std::string fileId = std::to_string(item.fileNumber);
        const std::optional<std::size_t> row = uploads_.Find({fileId});
        if (now - item.lastUpdate >= kUploadShownSeconds) {
            if (row) {
                services_.log.Line(FormatStatusLine("Dealing with %s", item.name.c_str()));
                stale.push_back(*row);
            }
            return;
        }
        ++count;
        const std::string bytes = std::to_string(item.uploaded);
        // Only a change is worth a line: written every second for every
        // shared file, the lines pushed the log's history out within seconds.
        if (row && uploads_.Cell(*row, kUploadBytes) == bytes &&
            uploads_.Cell(*row, kUploadName) == item.name) {
            return;
        }
        services_.log.Line(FormatStatusLine("Dealing with %s", item.name.c_str()));
        services_.log.Line(FormatStatusLine("Updating %s on the display", item.name.c_str()));
        if (!row) {
            uploads_.Append({item.name, bytes, fileId});
            return;
        }
        uploads_.Write(*row, kUploadName, item.name);
        uploads_.Write(*row, kUploadBytes, bytes);
    });
    uploads_.Remove(std::move(stale));
    uploadsLabel_ =
        FormatStatusLine(count == 1 ? "Uploading %d file" : "Uploading %d files", count);
}

// Web downloads that are receiving: not finished, cancelled or failed, with
// bytes in. A failed download stays in the list but is no longer running.
void TransferBoard::ComputeWebTotals(std::time_t now) {
    int count = 0;
    double total = 0.0;
    services_.list.ForEachDownload([&](const TransferItem& item) {
        const std::time_t elapsed = now - item.startTime;
        if (item.finishTime != 0 || item.errorCode != 0 || item.downloaded <= 0 || elapsed <= 0 ||
            KeyValue(item.key) != 0) {
            return;
        }
        ++count;
        total += static_cast<double>(item.downloaded) / static_cast<double>(elapsed);
    });
    services_.list.SetWebTotals(count, static_cast<std::int64_t>(total));
}

}  // namespace korvana
