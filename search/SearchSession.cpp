#include "search/SearchSession.h"

#include "search/CoreCommands.h"
#include "search/DownloadStarter.h"

namespace korvana {
namespace {

constexpr const char* kCoreNotConnected = "Core not connected";

std::unique_ptr<WebSearch> MakeWebSearch(SearchSessionOptions& options, WebResultSink& sink) {
    if (options.fetcher != nullptr) {
        return std::make_unique<WebSearch>(std::move(options.engines), sink, *options.fetcher,
                                           std::move(options.web));
    }
    return std::make_unique<WebSearch>(std::move(options.engines), sink, std::move(options.web));
}

}  // namespace

SearchSession::SearchSession(CoreCommands& core, SearchSessionOptions options)
    : core_(core),
      pacer_(model_, std::move(options.probes), options.probeGap),
      web_(MakeWebSearch(options, *this)) {}

SearchSession::~SearchSession() {
    Shutdown();
}

SearchStartOutcome SearchSession::Start(const std::string& keyword, const FilterValues& filters) {
    SearchStartOutcome outcome;
    if (std::string problem = SizeFilterProblem(filters); !problem.empty()) {
        outcome.refusal = std::move(problem);
        outcome.refusalCaption = std::string(kSizeFilterCaption);
        return outcome;
    }
    const std::optional<SearchStart> start = MakeSearchStart(keyword, filters);
    if (!start) {
        outcome.refusal = "Please enter a search term.";
        outcome.refusalCaption = "No search terms";
        return outcome;
    }
    outcome.searchId = model_.TakeNextSearchId();
    outcome.title = start->term;
    model_.OpenSearch(outcome.searchId);
    web_->StartSearchTasks(outcome.searchId, start->term);
    core_.SendSearchQuery(outcome.searchId, start->terms);
    // The web engines search anyway; the core's part waits for its link.
    outcome.status = CoreStatus();
    return outcome;
}

std::string SearchSession::CoreStatus() const {
    if (core_.IsConnected()) {
        return {};
    }
    std::string problem = core_.ConnectionProblem();
    return problem.empty() ? std::string(kCoreNotConnected) : problem;
}

SearchProgress SearchSession::Progress(std::int32_t searchId) const {
    SearchProgress progress = model_.Progress(searchId);
    if (progress.core == CorePart::Searching && !core_.IsConnected()) {
        progress.core = CorePart::NotConnected;
    }
    return progress;
}

void SearchSession::Stop(std::int32_t searchId) {
    model_.StopSearch(searchId);
    core_.SendCloseQuery(searchId);
}

void SearchSession::Remove(std::int32_t searchId) {
    model_.RemoveSearch(searchId);
    core_.SendCloseQuery(searchId);
}

bool SearchSession::HasTransfer(const SearchResult& result, const DownloadStarter& downloads) {
    return result.fromCore ? downloads.HasTransfer(std::string(result.Name()), false)
                           : downloads.HasTransfer(result.Link(), true);
}

void SearchSession::Download(const SearchResult& result, DownloadStarter& downloads) {
    if (!HasTransfer(result, downloads)) {
        StartDownload(result, downloads);
    }
}

void SearchSession::StartDownload(const SearchResult& result, DownloadStarter& downloads) {
    if (result.fromCore) {
        core_.SendDownloadRequest(result.Name(), result.core->resultId);
    } else {
        downloads.StartWebDownload(result.Link(), std::string(result.Name()));
    }
}

void SearchSession::Shutdown() {
    web_->Shutdown();
    pacer_.Stop();
}

void SearchSession::OpenSearch(int searchId) {
    model_.OpenSearch(searchId);
}

bool SearchSession::AddWebResult(int searchId, const std::string& link, const std::string& name,
                                 WebEngineId engine) {
    model_.AddWebResult(searchId, link, name, engine);
    WakeProbes();
    return true;
}

// The model decides whether a told size still needs a probe.
bool SearchSession::AddKnownWebResult(int searchId, const KnownWebResult& result,
                                      WebEngineId engine) {
    model_.AddKnownWebResult(searchId, result, engine);
    WakeProbes();
    return true;
}

void SearchSession::WakeProbes() {
    if (model_.ProbesWaiting()) {
        pacer_.Wake();
    }
}

bool SearchSession::IsSearchStopped(int searchId) const {
    return model_.IsSearchStopped(searchId);
}

void SearchSession::EngineTaskStarted(int searchId, const std::string& engine) {
    model_.EngineTaskStarted(searchId, engine);
}

void SearchSession::EngineTaskEnded(int searchId, const std::string& engine,
                                    const EngineTaskOutcome& outcome) {
    model_.EngineTaskEnded(searchId, engine, outcome);
}

}  // namespace korvana
