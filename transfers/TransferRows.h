#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

#include "core/TransferItem.h"

namespace korvana {

// Columns of the downloads list. Column 1 shows the same percentage as the
// hidden column 7, drawn as a bar.
enum DownloadColumn : std::size_t {
    kDownloadName = 0,
    kDownloadBar = 1,
    kDownloadRate = 2,
    kDownloadTimeLeft = 3,
    kDownloadSize = 4,
    kDownloadStatus = 5,
    kDownloadLink = 6,
    kDownloadProgress = 7,
    kDownloadColumns = 8,
};

// Columns of the uploads list.
enum UploadColumn : std::size_t {
    kUploadName = 0,
    kUploadBytes = 1,
    kUploadFileId = 2,
    kUploadColumns = 3,
};

// One row of the downloads list: the download it shows and its texts.
struct DownloadRow {
    TransferKey key;
    std::string name;
    // Whole percent received, drawn as the bar; empty while the size is
    // unknown.
    std::string progress;
    std::string rate;
    std::string timeLeft;
    std::string size;
    std::string status;

    friend bool operator==(const DownloadRow&, const DownloadRow&) = default;
};

// One row of the uploads list.
struct UploadRow {
    std::int32_t fileNumber = 0;
    std::string name;
    std::string bytes;

    friend bool operator==(const UploadRow&, const UploadRow&) = default;
};

// The row of a download at `now`. A core download found complete gets its
// finish time set to `now` (DownloadStatusText), which is why this takes the
// record.
DownloadRow MakeDownloadRow(TransferItem& item, std::time_t now);

// The text of one cell; the Link column shows the key as TransferKey::Text.
std::string DownloadCell(const DownloadRow& row, std::size_t column);
std::string UploadCell(const UploadRow& row, std::size_t column);

}  // namespace korvana
