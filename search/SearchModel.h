#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/CoreSinks.h"
#include "core/IdTable.h"
#include "search/ResultList.h"
#include "search/SearchProgress.h"
#include "search/SearchResult.h"
#include "util/RowChanges.h"
#include "util/WordFilter.h"
#include "web/WebResultSink.h"

namespace korvana {

// One search and its results. The model keeps it until the search is
// removed; whoever still reads one of its results (a row on screen or queued
// for it, a running probe) shares its ownership, so its results are freed
// once the last of them lets go. The flags only ever go on.
struct SearchRecord {
    explicit SearchRecord(std::int32_t searchId) : id(searchId) {}

    const std::int32_t id;
    std::atomic<bool> stopped{false};
    std::atomic<bool> removed{false};
    // Guarded by the model's lock. Oldest first; a deque, so that rows and
    // probes can point at a result while more arrive.
    std::deque<SearchResult> results;
    IdTable coreIds;                           // the result ids of its core results
    std::unordered_set<std::string> webLinks;  // its web results' links, in small letters
    // Every core result and every web result whose size became known.
    std::int32_t shownCount = 0;
    // The shown count by network ("Web" for web results), in first-seen order.
    std::vector<std::pair<std::string, std::int32_t>> shownByNetwork;
    // Its web engines' tasks, as the engines report them.
    EngineProgressList engines;
};

// What changed since the last TakeListChanges.
struct ListChanges {
    // The steps that bring the rows on screen up to date.
    RowChanges<ListedRow> steps;
    // (search id, shown count) of every search whose count changed.
    std::vector<std::pair<std::int32_t, std::int32_t>> counts;
    // The searches whose engines' progress changed.
    std::vector<std::int32_t> progressed;
};

// A web result whose size is to be probed. It shares its search's
// ownership, so the result lives while the probe works on it.
struct ProbeJob {
    std::shared_ptr<SearchResult> result;
    std::string link;

    explicit operator bool() const { return result != nullptr; }
};

// The searches and their results, core and web, the state of the size
// probes and the displayed search. "search_lock", taken inside each
// operation, guards the lists, the probe states and the queue of changes
// for the GUI thread; search flags are atomics.
//
// Threads: the core link's receive thread (AddCoreResult), the
// web engines (AddWebResult, IsSearchStopped), the probe workers
// (TakeNextToProbe, ReportProbe), and the GUI thread for everything else. A
// foreign thread never touches the list on screen: it queues an event and
// raises the notice, and the GUI thread takes the changes as row steps.
class SearchModel final : public CoreResultSink, public WebResultSink {
  public:
    SearchModel() = default;
    SearchModel(const SearchModel&) = delete;
    SearchModel& operator=(const SearchModel&) = delete;

    // Keeps the result unless its search is stopped, removed or unknown or
    // already has that result id; counts it for the tab label and lists it
    // when the search is displayed.
    void AddCoreResult(std::shared_ptr<const PooledResult> result, std::int32_t searchId,
                       std::string_view network) override;

    void OpenSearch(int searchId) override;
    // Keeps a web result unless its search is stopped, removed or unknown or
    // already has that link (letter case aside); it waits for a size probe.
    bool AddWebResult(int searchId, const std::string& link, const std::string& name,
                      WebEngineId engine) override;
    // Keeps a web result whose size its engine told, on the same terms; it
    // is listed complete at once and never probed.
    bool AddKnownWebResult(int searchId, const KnownWebResult& result, WebEngineId engine) override;
    bool IsSearchStopped(int searchId) const override;
    void EngineTaskStarted(int searchId, const std::string& engine) override;
    void EngineTaskEnded(int searchId, const std::string& engine,
                         const EngineTaskOutcome& outcome) override;
    // Where the search's parts stand; the core's part as the model knows it
    // (searching or stopped).
    SearchProgress Progress(std::int32_t searchId) const;

    // The id of a new search: 0, 1, 2, ...
    std::int32_t TakeNextSearchId();
    void StopSearch(std::int32_t searchId);
    void RemoveSearch(std::int32_t searchId);
    std::int32_t ShownCount(std::int32_t searchId) const;
    // "Donkey 12, Web 7, Gnutella 3": the shown results by network, most
    // first; "" before any.
    std::string NetworkCountsText(std::int32_t searchId) const;
    std::int32_t DisplayedSearchId() const { return displayed_.load(); }

    // GUI thread. Makes `searchId` the displayed search (-1: none) and
    // returns its rows that the filter shows, in list order. Changes queued
    // before belong to the rows returned and are dropped.
    std::vector<ListedRow> ShowSearch(std::int32_t searchId);
    // GUI thread. Shows only the rows whose name or artist, title and album
    // tags hold each of the filter's words, and returns them in list order. A filter that only
    // narrows the last one keeps those of `listed`, the rows on screen, that it shows (and the
    // changes queued for them); any other shows the search again. Rows that arrive later are listed
    // only when the filter shows them.
    std::vector<ListedRow> FilterRows(const WordFilter& filter,
                                      const std::vector<ListedRow>& listed);
    bool Filtered() const;
    // GUI thread. A click on a column header: the new sort state, then the
    // displayed search shown again.
    std::vector<ListedRow> SortBy(ResultColumn column);
    RowOrdering Ordering() const;

    // Raised, on any thread, when changes wait where none did.
    ChangeNotice& Notice() { return notice_; }
    // GUI thread: the queued changes, leaving none, as the steps that bring
    // `listed`, the rows on screen, up to date; the notice is lowered.
    ListChanges TakeListChanges(const std::vector<ListedRow>& listed);

    // True while a web result of a search not removed waits for its probe.
    bool ProbesWaiting() const;
    // The newest web result still waiting for its probe, now marked as
    // being probed; empty when none waits.
    ProbeJob TakeNextToProbe();
    // A probe's answer: the size, or none when the probe failed.
    void ReportProbe(const ProbeJob& job, std::optional<std::int64_t> size);

  private:
    using RecordPtr = std::shared_ptr<SearchRecord>;
    const RecordPtr* Find(std::int32_t searchId) const;
    const RecordPtr* FindOpen(std::int32_t searchId) const;
    const std::string* KeptNetworkName(std::string_view network);
    void QueueRowEvent(ListEvent::Kind kind, const RecordPtr& search, const SearchResult& result);
    void CountShown(SearchRecord& search, const std::string& network);

    mutable std::mutex mutex_;
    std::unordered_map<std::int32_t, RecordPtr> searches_;
    // Web results of searches not removed waiting for their probe, newest
    // last.
    std::vector<SearchResult*> unprobed_;
    // Results point at one copy of each network name.
    std::unordered_set<std::string> networkTexts_;
    std::int32_t nextSearchId_ = 0;
    std::atomic<std::int32_t> displayed_{0};
    RowOrdering ordering_;
    WordFilter filter_;
    std::vector<ListEvent> events_;
    std::set<std::int32_t> changedCounts_;
    std::set<std::int32_t> changedProgress_;
    ChangeNotice notice_;
};

}  // namespace korvana
