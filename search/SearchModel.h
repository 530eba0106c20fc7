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
#include "search/SearchResult.h"
#include "search/SizeProbes.h"
#include "web/WebResultSink.h"

namespace korvana {

// One search and its results. The model keeps it until the search is
// removed; while the list shows it, or a probe works on one of its results,
// it lives on until they let go, and then its results are freed with it.
// The flags only ever go on.
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
};

// Told, on any thread and with the model's lock held, that changes wait for
// TakeListChanges where none did. It must only post a drain to the GUI
// thread, never wait.
class ListChangeListener {
  public:
    virtual ~ListChangeListener() = default;
    virtual void OnListChanged() = 0;
};

// What changed since the last TakeListChanges.
struct ListChanges {
    // Rows of the displayed search, in the order they happened.
    std::vector<ListEvent> events;
    // (search id, shown count) of every search whose count changed.
    std::vector<std::pair<std::int32_t, std::int32_t>> counts;
};

// The searches and their results, core and web, the size probes and the
// displayed search. "search_lock", taken inside each operation, guards the
// lists, the probe states and the queue of changes for the GUI thread;
// search flags and the running-probe count are atomics.
//
// Threads: the core link's receive thread (AddCoreResult), the
// web engines (AddWebResult, IsSearchStopped), the probe workers (their
// reports), and the GUI thread for everything else. A foreign thread never
// touches the list on screen: it queues an event and the listener posts
// one drain.
class SearchModel final : public CoreResultSink, public WebResultSink {
  public:
    // Probes run through `probes`, or through the HTTP client when it is null.
    explicit SearchModel(std::unique_ptr<HeaderProbes> probes = nullptr);
    ~SearchModel() override;
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
    bool IsSearchStopped(int searchId) const override;

    // The id of a new search: 0, 1, 2, ...
    std::int32_t TakeNextSearchId();
    void StopSearch(std::int32_t searchId);
    void RemoveSearch(std::int32_t searchId);
    std::int32_t ShownCount(std::int32_t searchId) const;
    std::int32_t DisplayedSearchId() const { return displayed_.load(); }

    // GUI thread. Makes `searchId` the displayed search (-1: none) and
    // returns its rows in list order. Changes queued before belong to the
    // rows returned and are dropped. The rows point into the search, which
    // the model keeps alive until the next ShowSearch but one, even once it
    // is removed: the list shows these rows until it takes the next ones.
    std::vector<ListedRow> ShowSearch(std::int32_t searchId);
    // GUI thread. A click on a column header: the new sort state, then the
    // displayed search shown again.
    std::vector<ListedRow> SortBy(ResultColumn column);
    RowOrdering Ordering() const;

    // The listener must detach (null) before it goes.
    void SetListener(ListChangeListener* listener);
    // GUI thread: the queued changes, leaving none.
    ListChanges TakeListChanges();

    // GUI thread, every 250 ms: with fewer than kMaxRunningProbes running,
    // starts the probe of the newest web result not yet probed.
    void ProbeTick();
    int RunningProbes() const { return runningProbes_.load(); }

    // Ends the running probes and joins their threads; no probe starts or
    // reports afterwards. Also done by the destructor.
    void Shutdown();

  private:
    SearchRecord* Find(std::int32_t searchId) const;
    SearchRecord* FindOpen(std::int32_t searchId) const;
    struct ProbeJob {
        std::shared_ptr<SearchRecord> search;  // keeps the result alive
        SearchResult* result = nullptr;
    };
    const std::string* KeptNetworkName(std::string_view network);
    void QueueRowEvent(ListEvent::Kind kind, const SearchResult& result);
    void CountShown(SearchRecord& search);
    void Wake();
    ProbeJob NextToProbe();
    void RunProbe(const ProbeJob& job);
    void ReportProbe(SearchResult& result, std::optional<std::int64_t> size);

    mutable std::mutex mutex_;
    std::unordered_map<std::int32_t, std::shared_ptr<SearchRecord>> searches_;
    // The displayed search and the one displayed before it, whose rows the
    // list may hold until it takes the new ones.
    std::shared_ptr<SearchRecord> shown_;
    std::shared_ptr<SearchRecord> shownBefore_;
    // Web results of searches not removed waiting for their probe, newest
    // last.
    std::vector<SearchResult*> unprobed_;
    // Results point at one copy of each network name.
    std::unordered_set<std::string> networkTexts_;
    std::int32_t nextSearchId_ = 0;
    std::atomic<std::int32_t> displayed_{0};
    RowOrdering ordering_;
    ListChangeListener* listener_ = nullptr;
    std::vector<ListEvent> events_;
    std::set<std::int32_t> changedCounts_;
    bool drainPosted_ = false;
    std::atomic<int> runningProbes_{0};
    std::atomic<bool> shutDown_{false};
    // Last, so that its workers are joined before the members they use go.
    std::unique_ptr<HeaderProbes> probes_;
};

}  // namespace korvana
