#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "search/KnownFiles.h"
#include "search/ProbePacer.h"
#include "search/SearchModel.h"
#include "search/SearchPageRules.h"
#include "search/SearchProgress.h"
#include "web/WebResultSink.h"
#include "web/WebSearch.h"

namespace korvana {

class CoreCommands;
class DownloadStarter;
class PageFetcher;

struct SearchSessionOptions {
    SearchSessionOptions(EngineUrls engineUrls, WebSearchOptions webOptions)
        : engines(std::move(engineUrls)), web(std::move(webOptions)) {}

    EngineUrls engines;
    WebSearchOptions web;
    // Scripts the engines' pages instead of the HTTP client (tests); must
    // outlive the session.
    PageFetcher* fetcher = nullptr;
    // Probes sizes through these instead of the HTTP client (tests).
    std::unique_ptr<HeaderProbes> probes;
    std::chrono::milliseconds probeGap = ProbePacer::kProbeGap;
};

// What starting a search came to, for the page to show.
struct SearchStartOutcome {
    // The new search, or -1 when nothing was started.
    std::int32_t searchId = -1;
    // The search's tab title.
    std::string title;
    // The search status line: empty, or why the core does not search now.
    std::string status;
    // When nothing was started: the message for the user and its caption.
    std::string refusal;
    std::string refusalCaption;
};

// The searches of one run of the program: starting them at the core and at
// the web engines, stopping and removing them, downloading their results,
// and the pacing of the size probes. The web engines report into it; the
// core link reports into Model(). The page only shows what it says and
// forwards the user's commands.
class SearchSession final : public WebResultSink {
  public:
    SearchSession(CoreCommands& core, SearchSessionOptions options);
    ~SearchSession() override;
    SearchSession(const SearchSession&) = delete;
    SearchSession& operator=(const SearchSession&) = delete;

    SearchModel& Model() { return model_; }
    ProbePacer& Probes() { return pacer_; }
    WebSearch& Web() { return *web_; }
    // The Library's and the transfer list's file names, for the results'
    // marks.
    KnownFiles& Known() { return known_; }

    // Where the search's parts stand, the core's link included.
    SearchProgress Progress(std::int32_t searchId) const;

    // Checks the keyword and the filters, then opens a new search and starts
    // it at the web engines and at the core (whose part waits for its link).
    SearchStartOutcome Start(const std::string& keyword, const FilterValues& filters);
    void Stop(std::int32_t searchId);
    void Remove(std::int32_t searchId);
    // A result already in the transfer list is not started again: web
    // downloads are known by their link, core downloads by their name.
    void Download(const SearchResult& result, DownloadStarter& downloads);
    static bool HasTransfer(const SearchResult& result, const DownloadStarter& downloads);
    // Starts the download of a result that HasTransfer has just cleared.
    void StartDownload(const SearchResult& result, DownloadStarter& downloads);

    // Ends the engines and the probes and joins their threads; also done by
    // the destructor.
    void Shutdown();

    void OpenSearch(int searchId) override;
    bool AddWebResult(int searchId, const std::string& link, const std::string& name,
                      WebEngineId engine) override;
    bool AddKnownWebResult(int searchId, const KnownWebResult& result, WebEngineId engine) override;
    bool IsSearchStopped(int searchId) const override;
    void EngineTaskStarted(int searchId, const std::string& engine) override;
    void EngineTaskEnded(int searchId, const std::string& engine,
                         const EngineTaskOutcome& outcome) override;

  private:
    std::string CoreStatus() const;
    // Wakes the probes when the model has results waiting for them.
    void WakeProbes();

    CoreCommands& core_;
    SearchModel model_;
    KnownFiles known_;
    // Its probes report into the model.
    ProbePacer pacer_;
    // Last: its engines report into this session until it is gone.
    std::unique_ptr<WebSearch> web_;
};

}  // namespace korvana
