#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "web/HttpOptions.h"

namespace korvana {

class WebDownloadSink;

// The receive buffer of one download, by default: a page-aligned 64 KiB
// takes a fast transfer in a third fewer reads and writes than 24999 bytes
// and writes whole pages (bench/transfers).
inline constexpr std::size_t kWebDownloadBuffer = 65536;

// One web download: what to fetch and where it goes.
struct WebDownloadJob {
    // The result's link: the transfer's key and the URL fetched.
    std::string link;
    // The result's file name as the list shows it.
    std::string name;
    // Where the body is written while it arrives, in a new incomplete file
    // of its own (the folder is created when missing).
    std::filesystem::path incompleteFolder;
    // Where the finished file goes, under `fileName` or a free numbered name.
    std::filesystem::path downloadsFolder;
    std::string fileName;
    // Idle time-out and the stop signal (cancel or shutdown).
    HttpOptions http;
    // The most bytes taken from the socket at once, and reported at once.
    std::size_t receiveBytes = kWebDownloadBuffer;
};

// How a download ended.
struct WebDownloadOutcome {
    // The code of the last report (0 for a finished file).
    int code = 0;
    // Stopped by the user or at shutdown, without a last report.
    bool stopped = false;
    std::int64_t received = 0;
    // The finished file; empty unless it was put in place.
    std::filesystem::path finalPath;
    // A finished file that could not be put in place: where it is kept
    // instead (the incomplete folder, under its own name) and why it could
    // not go into the downloads folder.
    std::filesystem::path keptPath;
    std::string keptReason;
};

// Fetches `job.link` with the socket client's GET request, writes the body
// into the incomplete file and, once the announced length has arrived,
// moves the file into the downloads folder without replacing any file. Every
// step is reported to `sink` (keyed by the link), which can tell it to stop;
// the sink must already show the download (OpenWebDownload). A download
// that fails or is cut short removes the file it made; one that is stopped
// leaves its partial file in place. A finished file that cannot be moved
// (the downloads folder read-only or full) is kept in the incomplete folder
// under its own name, out of reach of the folder's clearing.
WebDownloadOutcome WebDownloadTask(const WebDownloadJob& job, WebDownloadSink& sink);

}  // namespace korvana
