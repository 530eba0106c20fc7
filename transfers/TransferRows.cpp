#include "transfers/TransferRows.h"

#include "transfers/TransferTexts.h"
#include "transfers/TransferUnits.h"

namespace korvana {
namespace {

std::string ProgressTip(const DownloadRow& row) {
    std::string tip = ReceivedText(row.received, row.sizeBytes);
    if (!row.progress.empty()) {
        tip += " (" + row.progress + "%)";
    }
    return tip;
}

std::string RateTip(const DownloadRow& row) {
    if (row.rate.empty()) {
        return {};
    }
    if (row.bytesPerSecond >= 0.0) {
        return HumanRate(row.bytesPerSecond);
    }
    // A web download timed in whole seconds that came whole within its
    // first second has no rate to show, and never will.
    const bool allHere = row.sizeBytes > 0 && row.received >= row.sizeBytes;
    return allHere ? std::string("Finished in under a second") : std::string("Rate not known yet");
}

std::string TimeLeftTipOf(const DownloadRow& row) {
    if (row.timeLeft.empty()) {
        return {};
    }
    if (row.secondsLeft < 0) {
        return TimeLeftTip(std::nullopt);
    }
    // Less than a second still to come is not "nothing left".
    const bool allHere = row.sizeBytes > 0 && row.received >= row.sizeBytes;
    return TimeLeftTip(row.secondsLeft == 0 && !allHere ? 1 : row.secondsLeft);
}

}  // namespace

DownloadRow MakeDownloadRow(TransferItem& item, std::time_t now) {
    DownloadRow row;
    row.key = item.key;
    row.name = item.name;
    row.status = DownloadStatusText(item, now);
    row.progress = ProgressText(item.downloaded, item.size);
    row.size = SizeText(item.size);
    row.received = item.downloaded;
    row.sizeBytes = item.size;
    row.savedFile = item.savedFile;
    if (IsTransferHalted(item)) {
        return row;
    }
    const std::int64_t elapsed =
        static_cast<std::int64_t>((item.finishTime > 0 ? item.finishTime : now) - item.startTime);
    if (item.key.IsCore()) {
        row.rate = CoreRateText(item.rate);
        row.bytesPerSecond = item.rate;
    } else {
        row.rate = WebRateText(item.downloaded, elapsed);
        row.bytesPerSecond = WebRate(item.downloaded, elapsed).value_or(-1.0);
    }
    row.timeLeft = TimeLeftText(item.downloaded, item.size, elapsed);
    row.secondsLeft = SecondsLeft(item.downloaded, item.size, elapsed).value_or(-1);
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
        case kDownloadHumanSize:
            return row.sizeBytes > 0 ? HumanSize(row.sizeBytes) : std::string();
        default:
            return {};
    }
}

std::string DownloadTip(const DownloadRow& row, std::size_t column) {
    switch (column) {
        case kDownloadBar:
        case kDownloadProgress:
            return ProgressTip(row);
        case kDownloadRate:
            return RateTip(row);
        case kDownloadTimeLeft:
            return TimeLeftTipOf(row);
        case kDownloadSize:
        case kDownloadHumanSize:
            return row.sizeBytes > 0 ? HumanSizeWithBytes(row.sizeBytes)
                                     : std::string("Size not known yet");
        default:
            return DownloadCell(row, column);
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

std::string UploadTip(const UploadRow& row, std::size_t column) {
    if (column == kUploadBytes) {
        return HumanSizeWithBytes(row.uploaded) + " uploaded";
    }
    return UploadCell(row, column);
}

}  // namespace korvana
