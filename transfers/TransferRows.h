#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>

#include "core/TransferItem.h"

namespace korvana {

// Columns of the downloads list. Column 1 shows the same percentage as the
// hidden column 7, drawn as a bar. Column 8 shows the size of column 4 in
// human units.
enum DownloadColumn : std::size_t {
    kDownloadName = 0,
    kDownloadBar = 1,
    kDownloadRate = 2,
    kDownloadTimeLeft = 3,
    kDownloadSize = 4,
    kDownloadStatus = 5,
    kDownloadLink = 6,
    kDownloadProgress = 7,
    kDownloadHumanSize = 8,
    kDownloadColumns = 9,
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
    // The figures behind the texts, for the tooltips and the sort.
    std::int64_t received = 0;
    std::int64_t sizeBytes = 0;
    // Bytes per second behind the rate text; negative while it shows none
    // or an unknown rate.
    double bytesPerSecond = -1.0;
    // Seconds behind the time left text, days included; negative while it
    // shows none or "--:--:--".
    std::int64_t secondsLeft = -1;
    // Where a finished web download's file was saved; empty for a core
    // download, whose file is looked for by name.
    std::filesystem::path savedFile;

    friend bool operator==(const DownloadRow&, const DownloadRow&) = default;
};

// What a view keeps a row's selection by through a reordering.
inline const TransferKey& RowKey(const DownloadRow& row) {
    return row.key;
}

// One row of the uploads list.
struct UploadRow {
    std::int32_t fileNumber = 0;
    std::string name;
    std::string bytes;
    std::int64_t uploaded = 0;

    friend bool operator==(const UploadRow&, const UploadRow&) = default;
};

inline std::int32_t RowKey(const UploadRow& row) {
    return row.fileNumber;
}

// The row of a download at `now`. A core download found complete gets its
// finish time set to `now` (DownloadStatusText), which is why this takes the
// record.
DownloadRow MakeDownloadRow(TransferItem& item, std::time_t now);

// The text of one cell; the Link column shows the key as TransferKey::Text.
std::string DownloadCell(const DownloadRow& row, std::size_t column);
std::string UploadCell(const UploadRow& row, std::size_t column);
// The tooltip of one cell: sizes, rates and times in human units beside the
// cell's fixed text; empty where the cell shows nothing.
std::string DownloadTip(const DownloadRow& row, std::size_t column);
std::string UploadTip(const UploadRow& row, std::size_t column);

}  // namespace korvana
