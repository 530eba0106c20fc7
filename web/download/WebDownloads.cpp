#include "web/download/WebDownloads.h"

#include <algorithm>

#include "core/AsciiCase.h"
#include "web/HttpText.h"
#include "web/StopSignal.h"
#include "web/download/DownloadFileName.h"
#include "web/download/WebDownloadThread.h"

namespace korvana {
namespace {}  // namespace

struct WebDownloads::Download {
    std::string folded;
    std::string incompleteName;
    StopSignal stop;
    WebDownloadJob job;
};

WebDownloads::WebDownloads(WebDownloadSink& sink, WebDownloadsConfig config)
    : sink_(sink),
      config_(std::move(config)),
      pool_(std::max<std::size_t>(1, config_.maxRunning)) {}

WebDownloads::~WebDownloads() {
    Stop();
}

bool WebDownloads::StartWebDownload(const std::string& link, const std::string& name) {
    if (!SplitUrl(link) || !config_.downloadsFolder) {
        return false;
    }
    const std::filesystem::path downloadsFolder = config_.downloadsFolder();
    auto download = std::make_shared<Download>();
    download->folded = AsciiLowered(link);
    {
        const std::lock_guard lock(mutex_);
        if (stopping_ || active_.count(download->folded) != 0) {
            return false;
        }
        WebDownloadJob& job = download->job;
        job.link = link;
        job.name = name;
        job.fileName = SafeFileName(name);
        download->incompleteName = ReserveIncompleteName(job.fileName);
        job.incompleteFile = config_.incompleteFolder / download->incompleteName;
        job.downloadsFolder = downloadsFolder;
        job.http.idleTimeout = config_.idleTimeout;
        job.http.stop = &download->stop;
        active_.emplace(download->folded, download);
    }
    sink_.OpenWebDownload(link, name);
    pool_.Post([this, download] { Run(download); });
    return true;
}

// Two downloads of different links may carry the same file name; each
// grows in an incomplete file of its own.
std::string WebDownloads::ReserveIncompleteName(const std::string& fileName) {
    std::string candidate = fileName;
    for (int number = 1; incompleteNames_.count(candidate) != 0; ++number) {
        candidate = NumberedFileName(fileName, number);
    }
    incompleteNames_.insert(candidate);
    return candidate;
}

void WebDownloads::Run(const std::shared_ptr<Download>& download) {
    WebDownloadThread(download->job, sink_);
    const std::lock_guard lock(mutex_);
    active_.erase(download->folded);
    incompleteNames_.erase(download->incompleteName);
}

void WebDownloads::StopWebDownload(const std::string& link) {
    const std::lock_guard lock(mutex_);
    const auto found = active_.find(AsciiLowered(link));
    if (found != active_.end()) {
        found->second->stop.Trigger();
    }
}

void WebDownloads::Stop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        for (auto& [link, download] : active_) {
            download->stop.Trigger();
        }
    }
    pool_.Stop();
}

std::size_t WebDownloads::Active() const {
    const std::lock_guard lock(mutex_);
    return active_.size();
}

bool WebDownloads::WaitUntilIdle(std::chrono::milliseconds timeout) {
    return pool_.WaitUntilIdle(timeout);
}

}  // namespace korvana
