#include "web/download/WebDownloadTask.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "util/StopSignal.h"
#include "web/AddressRules.h"
#include "web/HttpConnection.h"
#include "web/HttpText.h"
#include "web/ResponseHeader.h"
#include "web/download/DownloadFiles.h"
#include "web/download/DownloadHeader.h"
#include "web/download/IncompleteFiles.h"
#include "web/download/WebDownloadSink.h"

namespace korvana {
namespace {

// One download from request to outcome. The file is closed on every path.
class DownloadRun {
  public:
    DownloadRun(const WebDownloadJob& job, WebDownloadSink& sink)
        : job_(job), sink_(sink), connection_(job.http) {}
    ~DownloadRun() { CloseFile(); }
    DownloadRun(const DownloadRun&) = delete;
    DownloadRun& operator=(const DownloadRun&) = delete;

    WebDownloadOutcome Run();

  private:
    bool StopRequested() const { return job_.http.stop != nullptr && job_.http.stop->Triggered(); }
    bool OpenFile();
    bool CloseFile();
    void RemoveFile();
    WebDownloadOutcome Keep(const std::error_code& why);
    bool Write(std::string_view bytes);
    std::optional<WebDownloadOutcome> OnData(std::string_view chunk);
    std::optional<WebDownloadOutcome> ReadHeader(std::string_view chunk, std::string_view& body);
    std::optional<WebDownloadOutcome> OnBody(std::string_view body);
    WebDownloadOutcome OnReceiveEnd(HttpResult result);
    WebDownloadOutcome Finish();
    WebDownloadOutcome End(int code);
    WebDownloadOutcome Stopped();

    const WebDownloadJob& job_;
    WebDownloadSink& sink_;
    HttpConnection connection_;
    IncompleteFile file_;
    std::string head_;
    bool headerSeen_ = false;
    std::int64_t received_ = 0;
    std::int64_t total_ = 0;
};

WebDownloadOutcome DownloadRun::Run() {
    if (StopRequested()) {
        return Stopped();  // cancelled while it waited for a thread
    }
    const std::optional<HttpTarget> target = SplitUrl(job_.link);
    if (!target) {
        return End(kWebDownloadNoContact);
    }
    const bool mayReachLocal = FetchOrigin::Of(job_.http, *target).MayReachLocal(*target);
    if (connection_.Open(*target, HttpMethod::Get, mayReachLocal) != HttpResult::Ok) {
        return StopRequested() ? Stopped() : End(kWebDownloadNoContact);
    }
    if (!OpenFile()) {
        return End(kWebDownloadFileFailed);
    }
    std::vector<char> buffer(std::max<std::size_t>(1, job_.receiveBytes));
    for (;;) {
        std::size_t got = 0;
        const HttpResult result = connection_.Receive(buffer.data(), buffer.size(), got);
        if (result != HttpResult::Ok || got == 0) {
            return OnReceiveEnd(result);
        }
        if (auto ended = OnData({buffer.data(), got})) {
            return *ended;
        }
    }
}

WebDownloadOutcome DownloadRun::OnReceiveEnd(HttpResult result) {
    if (result == HttpResult::Ok) {
        // The server closed before the whole file (or even a header) came.
        return End(headerSeen_ ? kWebDownloadCutShort : kWebDownloadNoContact);
    }
    if (result == HttpResult::TimedOut) {
        return End(kWebDownloadTimedOut);
    }
    return StopRequested() ? Stopped() : End(kWebDownloadNoContact);
}

bool DownloadRun::OpenFile() {
    file_ = CreateIncompleteFile(job_.incompleteFolder, job_.fileName);
    return file_.fd >= 0;
}

bool DownloadRun::CloseFile() {
    if (file_.fd < 0) {
        return true;
    }
    const bool closed = close(file_.fd) == 0;
    file_.fd = -1;
    return closed;
}

// Only the file this run created goes: a link or another file put in its
// place is left alone.
void DownloadRun::RemoveFile() {
    CloseFile();
    if (!file_.path.empty() && IsStillOurs(file_)) {
        std::error_code error;
        std::filesystem::remove(file_.path, error);
    }
    file_.path.clear();
}

bool DownloadRun::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(file_.fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::optional<WebDownloadOutcome> DownloadRun::OnData(std::string_view chunk) {
    if (headerSeen_) {
        return OnBody(chunk);
    }
    std::string_view body;
    if (auto ended = ReadHeader(chunk, body)) {
        return ended;
    }
    if (!headerSeen_) {
        return std::nullopt;
    }
    auto ended = OnBody(body);
    head_ = std::string();
    return ended;
}

// The header may come in several reads; it is gathered until its blank line,
// up to the header limit. `body` gets what follows it in the last read.
std::optional<WebDownloadOutcome> DownloadRun::ReadHeader(std::string_view chunk,
                                                          std::string_view& body) {
    const std::size_t searchFrom = head_.size() >= 2 ? head_.size() - 2 : 0;
    head_.append(chunk);
    const std::size_t end = FindHeaderEnd(head_, searchFrom);
    if (end == std::string::npos) {
        if (head_.size() > job_.http.maxHeaderBytes) {
            return End(kWebDownloadNoContact);
        }
        return std::nullopt;
    }
    const DownloadHeader header = ParseDownloadHeader(std::string_view(head_).substr(0, end));
    switch (header.verdict) {
        case DownloadHeader::Verdict::NoStatusLine:
            return End(kWebDownloadNoContact);
        case DownloadHeader::Verdict::Refused:
        case DownloadHeader::Verdict::NoLength:
            return End(kWebDownloadMissingFile);
        case DownloadHeader::Verdict::Ok:
            break;
    }
    total_ = header.contentLength;
    headerSeen_ = true;
    body = std::string_view(head_).substr(end);
    return std::nullopt;
}

// Bytes past the announced length are not part of the file.
std::optional<WebDownloadOutcome> DownloadRun::OnBody(std::string_view body) {
    body = body.substr(0, static_cast<std::size_t>(std::min<std::int64_t>(
                              static_cast<std::int64_t>(body.size()), total_ - received_)));
    if (!Write(body)) {
        return End(kWebDownloadFileFailed);
    }
    received_ += static_cast<std::int64_t>(body.size());
    if (received_ == total_) {
        return Finish();
    }
    if (!sink_.ReportWebDownload(job_.link, job_.name, received_, total_, kWebDownloadRunning)) {
        return Stopped();
    }
    return std::nullopt;
}

// The list shows the download finished only once the file is in place.
WebDownloadOutcome DownloadRun::Finish() {
    if (!CloseFile() || !IsStillOurs(file_)) {
        return End(kWebDownloadFileFailed);
    }
    std::error_code why;
    const std::optional<std::filesystem::path> placed =
        MoveToFreeName(file_.path, job_.downloadsFolder, job_.fileName, &why);
    if (!placed) {
        return Keep(why);
    }
    sink_.PlaceWebDownload(job_.link, *placed);
    sink_.ReportWebDownload(job_.link, job_.name, received_, total_, kWebDownloadRunning);
    WebDownloadOutcome outcome;
    outcome.received = received_;
    outcome.finalPath = *placed;
    return outcome;
}

// The whole file arrived but the downloads folder did not take it: it stays
// in the incomplete folder under its own name, which the folder's clearing
// leaves alone, until the move is tried again or the user moves it.
WebDownloadOutcome DownloadRun::Keep(const std::error_code& why) {
    const std::optional<std::filesystem::path> kept =
        MoveToFreeName(file_.path, file_.path.parent_path(), job_.fileName);
    const std::filesystem::path keptPath = kept ? *kept : file_.path;
    file_.path.clear();
    WebDownloadOutcome outcome = End(kWebDownloadFileFailed);
    outcome.keptPath = keptPath;
    outcome.keptReason = why.message();
    return outcome;
}

WebDownloadOutcome DownloadRun::End(int code) {
    RemoveFile();
    sink_.ReportWebDownload(job_.link, job_.name, received_, total_, code);
    WebDownloadOutcome outcome;
    outcome.code = code;
    outcome.received = received_;
    return outcome;
}

WebDownloadOutcome DownloadRun::Stopped() {
    CloseFile();
    WebDownloadOutcome outcome;
    outcome.stopped = true;
    outcome.received = received_;
    return outcome;
}

}  // namespace

WebDownloadOutcome WebDownloadTask(const WebDownloadJob& job, WebDownloadSink& sink) {
    DownloadRun run(job, sink);
    return run.Run();
}

}  // namespace korvana
