#include "web/download/WebDownloads.h"

#include <algorithm>

#include "core/DisplayText.h"
#include "util/AsciiCase.h"
#include "util/StopSignal.h"
#include "web/HttpText.h"
#include "web/download/DownloadFileName.h"
#include "web/download/DownloadFiles.h"
#include "web/download/WebDownloadTask.h"

namespace korvana {
std::string KeptDownloadText(const KeptDownload& kept) {
    return "\"" + DisplayText(kept.name) +
           "\" has been downloaded, but it could not be moved into " +
           DisplayText(kept.downloadsFolder.string()) + " (" + kept.reason +
           ").\n\nIt is kept as " + DisplayText(kept.keptPath.string()) +
           "\n\nTry moving it again?";
}

struct WebDownloads::Download {
    std::string folded;
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
        job.incompleteFolder = config_.incompleteFolder;
        job.downloadsFolder = downloadsFolder;
        job.http.idleTimeout = config_.idleTimeout;
        job.http.stop = &download->stop;
        job.http.originUrls = config_.originUrls;
        active_.emplace(download->folded, download);
    }
    sink_.OpenWebDownload(link, name);
    pool_.Post([this, download] { Run(download); });
    return true;
}

void WebDownloads::Run(const std::shared_ptr<Download>& download) {
    const WebDownloadOutcome outcome = WebDownloadTask(download->job, sink_);
    {
        const std::lock_guard lock(mutex_);
        active_.erase(download->folded);
    }
    if (!outcome.keptPath.empty() && keptListener_) {
        const WebDownloadJob& job = download->job;
        keptListener_({job.link, job.name, job.fileName, outcome.keptPath, job.downloadsFolder,
                       outcome.keptReason, outcome.received});
    }
}

bool WebDownloads::RetryKeptMove(const KeptDownload& kept) {
    if (!config_.downloadsFolder) {
        return false;
    }
    KeptDownload retry = kept;
    retry.downloadsFolder = config_.downloadsFolder();
    {
        const std::lock_guard lock(mutex_);
        if (stopping_) {
            return false;
        }
    }
    pool_.Post([this, retry = std::move(retry)]() mutable { RetryMove(std::move(retry)); });
    return true;
}

void WebDownloads::RetryMove(KeptDownload kept) {
    std::error_code why;
    if (const auto placed =
            MoveToFreeName(kept.keptPath, kept.downloadsFolder, kept.fileName, &why)) {
        sink_.PlaceWebDownload(kept.link, *placed);
        sink_.ReportWebDownload(kept.link, kept.name, kept.size, kept.size, kWebDownloadRunning);
        return;
    }
    kept.reason = why.message();
    if (keptListener_) {
        keptListener_(kept);
    }
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
