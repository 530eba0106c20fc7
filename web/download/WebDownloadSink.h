#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace korvana {

// What a web download's outcome code means. The transfer list shows 1 to 3
// with texts of their own and every other error as a plain error.
enum WebDownloadCode : int {
    kWebDownloadRunning = 0,      // running, or finished when received equals total
    kWebDownloadNoContact = 1,    // server unreachable, request not sent, or no HTTP answer
    kWebDownloadMissingFile = 2,  // status 300 or above, no length, or a length of 0
    kWebDownloadTimedOut = 3,     // nothing received for the whole idle time-out
    kWebDownloadCutShort = 4,     // the server closed before the announced length arrived
    kWebDownloadFileFailed = 5,   // the file could not be written or put in place
};

// Where web downloads report: the transfer list. Called from the download
// threads and, for OpenWebDownload, from the thread that starts a download.
class WebDownloadSink {
  public:
    virtual ~WebDownloadSink() = default;
    // Shows the download (keyed by its link) as contacting its server; a
    // record left from an earlier download of the same link starts afresh.
    virtual void OpenWebDownload(const std::string& key, const std::string& name) = 0;
    // Progress and outcome. True: go on. False: stop (the user cancelled the
    // download or cleared it from the list, or `code` is an error).
    virtual bool ReportWebDownload(const std::string& key, const std::string& name,
                                   std::int64_t received, std::int64_t total, int code) = 0;
    // Where the download's finished file was put, told just before the
    // report that shows it finished: the name it was saved under may differ
    // from the download's name (made safe, or numbered when taken).
    virtual void PlaceWebDownload(const std::string& key, const std::filesystem::path& file) = 0;
};

// Lets the transfer list stop a running web download at once when the user
// cancels it, instead of at its next report.
class WebDownloadStopper {
  public:
    virtual ~WebDownloadStopper() = default;
    virtual void StopWebDownload(const std::string& link) = 0;
};

}  // namespace korvana
