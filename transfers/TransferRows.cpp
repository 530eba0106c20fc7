#include "transfers/TransferRows.h"

#include "transfers/TransferTexts.h"

namespace korvana {

DownloadRow MakeDownloadRow(TransferItem& item, std::time_t now) {
    DownloadRow row;
    row.key = item.key;
    row.name = item.name;
    row.status = DownloadStatusText(item, now);
    row.progress = ProgressText(item.downloaded, item.size);
    row.size = SizeText(item.size);
    if (IsTransferHalted(item)) {
        return row;
    }
    const std::int64_t elapsed =
        static_cast<std::int64_t>((item.finishTime > 0 ? item.finishTime : now) - item.startTime);
    row.rate = item.key.IsCore() ? CoreRateText(item.rate) : WebRateText(item.downloaded, elapsed);
    row.timeLeft = TimeLeftText(item.downloaded, item.size, elapsed);
    return row;
}

std::string DownloadCell(const DownloadRow& row, std::size_t column) {
    switch (column) {
        case kDownloadName:
            return row.name;
        case kDownloadBar:
        case kDownloadProgress:
            return row.progress;
        case kDownloadRate:
            return row.rate;
        case kDownloadTimeLeft:
            return row.timeLeft;
        case kDownloadSize:
            return row.size;
        case kDownloadStatus:
            return row.status;
        case kDownloadLink:
            return row.key.Text();
        default:
            return {};
    }
}

std::string UploadCell(const UploadRow& row, std::size_t column) {
    switch (column) {
        case kUploadName:
            return row.name;
        case kUploadBytes:
            return row.bytes;
        case kUploadFileId:
            return std::to_string(row.fileNumber);
        default:
            return {};
    }
}

}  // namespace korvana
