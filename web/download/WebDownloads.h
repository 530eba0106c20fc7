#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "util/TaskPool.h"
#include "web/download/WebDownloadSink.h"

namespace korvana {

// A finished web download that the downloads folder did not take.
struct KeptDownload {
    std::string link;
    std::string name;
    // The name it was to be saved under.
    std::string fileName;
    // Where it is now: the incomplete folder, under its own name.
    std::filesystem::path keptPath;
    // Where it was to go, and why it could not.
    std::filesystem::path downloadsFolder;
    std::string reason;
    std::int64_t size = 0;
};

// What the user is told about a kept download, ending in the question
// whether to try the move again.
std::string KeptDownloadText(const KeptDownload& kept);

// Told about every kept download, on a download thread.
using KeptDownloadListener = std::function<void(const KeptDownload&)>;

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
    // The engines' base URLs: a link, named by an engine's page, may lead to
    // this machine or its network only on one of their servers. None: any.
    std::vector<std::string> originUrls{};
};

// The web downloads: each on a worker thread of its own, at most
// `maxRunning` at once. A link is downloaded once at a time, and each
// download grows in an incomplete file of its own. Every download can be stopped
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

    // Set before the first download starts.
    void SetKeptListener(KeptDownloadListener listener) { keptListener_ = std::move(listener); }

    // Tries again to move a kept download into the downloads folder as the
    // settings give it now, on a worker thread. Success shows the download
    // finished; another failure tells the listener again. False after Stop().
    bool RetryKeptMove(const KeptDownload& kept);

    // Stops every download and joins every thread. Later starts are refused.
    void Stop();

    // Downloads waiting or running, and those of them running now.
    std::size_t Active() const;
    std::size_t Running() const { return pool_.Running(); }
    // Waits until no download is waiting or running; false after `timeout`.
    bool WaitUntilIdle(std::chrono::milliseconds timeout);

  private:
    struct Download;

    void Run(const std::shared_ptr<Download>& download);
    void RetryMove(KeptDownload kept);

    WebDownloadSink& sink_;
    const WebDownloadsConfig config_;
    mutable std::mutex mutex_;
    // Waiting or running downloads by link folded to lower case.
    std::map<std::string, std::shared_ptr<Download>> active_;
    bool stopping_ = false;
    KeptDownloadListener keptListener_;
    TaskPool pool_;
};

}  // namespace korvana
