#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "web/TaskPool.h"
#include "web/download/WebDownloadSink.h"

namespace korvana {

struct WebDownloadsConfig {
    // The Incomplete folder, where files grow while they arrive.
    std::filesystem::path incompleteFolder;
    // The downloads folder as the settings give it now; asked at every start,
    // on the starting thread, so a changed folder applies to the next file.
    // Without it nothing is downloaded.
    std::function<std::filesystem::path()> downloadsFolder;
    // A download that receives nothing for this long has timed out.
    std::chrono::milliseconds idleTimeout{15000};
    // Downloads that run at once; the others wait, shown as contacting.
    std::size_t maxRunning = 4;
};

// The web downloads: each on a worker thread of its own, at most
// `maxRunning` at once. A link is downloaded once at a time, and two
// downloads never share an incomplete file. Every download can be stopped
// at once (cancel, shutdown); Stop() and the destructor join every thread.
//
// The sink must outlive this object.
class WebDownloads final : public WebDownloadStopper {
  public:
    WebDownloads(WebDownloadSink& sink, WebDownloadsConfig config);
    ~WebDownloads() override;
    WebDownloads(const WebDownloads&) = delete;
    WebDownloads& operator=(const WebDownloads&) = delete;

    // Starts downloading `link` as `name` (the search page's Download
    // Selected) and returns at once. False, with nothing shown, when the
    // link is not an http URL, when the same link (in any letter case) is
    // still being downloaded, or after Stop().
    bool StartWebDownload(const std::string& link, const std::string& name);

    // Stops the download of this link now; its partial file stays.
    void StopWebDownload(const std::string& link) override;

    // Stops every download and joins every thread. Later starts are refused.
    void Stop();

    // Downloads waiting or running.
    std::size_t Active() const;
    // Waits until no download is waiting or running; false after `timeout`.
    bool WaitUntilIdle(std::chrono::milliseconds timeout);

  private:
    struct Download;

    std::string ReserveIncompleteName(const std::string& fileName);
    void Run(const std::shared_ptr<Download>& download);

    WebDownloadSink& sink_;
    const WebDownloadsConfig config_;
    mutable std::mutex mutex_;
    // Waiting or running downloads by link folded to lower case.
    std::map<std::string, std::shared_ptr<Download>> active_;
    std::set<std::string> incompleteNames_;
    bool stopping_ = false;
    TaskPool pool_;
};

}  // namespace korvana
