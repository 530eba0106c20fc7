#include "search/SearchModel.h"

#include <algorithm>

#include "core/TextLimit.h"
#include "search/ProbeHeader.h"
#include "util/AsciiCase.h"

namespace korvana {
SearchModel::SearchModel(std::unique_ptr<HeaderProbes> probes)
    : probes_(probes ? std::move(probes) : std::make_unique<HttpHeaderProbes>()) {}

SearchModel::~SearchModel() {
    Shutdown();
}

SearchRecord* SearchModel::Find(std::int32_t searchId) const {
    const auto found = searches_.find(searchId);
    return found == searches_.end() ? nullptr : found->second.get();
}

SearchRecord* SearchModel::FindOpen(std::int32_t searchId) const {
    SearchRecord* search = Find(searchId);
    return search != nullptr && !search->stopped && !search->removed ? search : nullptr;
}

void SearchModel::OpenSearch(int searchId) {
    std::lock_guard lock(mutex_);
    if (Find(searchId) == nullptr) {
        searches_.emplace(searchId, std::make_shared<SearchRecord>(searchId));
    }
}

bool SearchModel::IsSearchStopped(int searchId) const {
    std::lock_guard lock(mutex_);
    return FindOpen(searchId) == nullptr;
}

std::int32_t SearchModel::TakeNextSearchId() {
    std::lock_guard lock(mutex_);
    return nextSearchId_++;
}

void SearchModel::StopSearch(std::int32_t searchId) {
    std::lock_guard lock(mutex_);
    if (SearchRecord* search = Find(searchId)) {
        search->stopped = true;
    }
}

// The search's results go with it, unless the list still shows them or a
// probe still works on one: then the last of those to let go frees them.
void SearchModel::RemoveSearch(std::int32_t searchId) {
    std::lock_guard lock(mutex_);
    const auto found = searches_.find(searchId);
    if (found == searches_.end()) {
        return;
    }
    found->second->removed = true;
    std::erase_if(unprobed_,
                  [searchId](const SearchResult* result) { return result->searchId == searchId; });
    changedCounts_.erase(searchId);
    if (searchId == displayed_.load()) {
        shown_ = found->second;
    }
    searches_.erase(found);
}

std::int32_t SearchModel::ShownCount(std::int32_t searchId) const {
    std::lock_guard lock(mutex_);
    const SearchRecord* search = Find(searchId);
    return search != nullptr ? search->shownCount : 0;
}

const std::string* SearchModel::KeptNetworkName(std::string_view network) {
    const auto kept = networkTexts_.find(std::string(network));
    return &*(kept != networkTexts_.end() ? kept : networkTexts_.emplace(network).first);
}

void SearchModel::AddCoreResult(std::shared_ptr<const PooledResult> result, std::int32_t searchId,
                                std::string_view network) {
    std::lock_guard lock(mutex_);
    SearchRecord* search = result ? FindOpen(searchId) : nullptr;
    // The core may report a result to the same search again: one row.
    if (search == nullptr || !search->coreIds.Insert(result->resultId)) {
        return;
    }
    SearchResult& added = search->results.emplace_back();
    added.searchId = search->id;
    added.fromCore = true;
    added.network = KeptNetworkName(network);
    added.size = result->size;
    added.core = std::move(result);
    CountShown(*search);
    if (search->id == displayed_.load()) {
        QueueRowEvent(ListEvent::Kind::Added, added);
    }
}

bool SearchModel::AddWebResult(int searchId, const std::string& link, const std::string& name,
                               WebEngineId /*engine*/) {
    std::lock_guard lock(mutex_);
    SearchRecord* search = FindOpen(searchId);
    if (search == nullptr || !search->webLinks.insert(AsciiLowered(link)).second) {
        return true;
    }
    SearchResult& added = search->results.emplace_back();
    added.searchId = searchId;
    added.web = std::make_unique<WebLocation>(
        WebLocation{TruncateText(name, SearchResult::kMaxName), link});
    unprobed_.push_back(&added);
    if (searchId == displayed_.load()) {
        QueueRowEvent(ListEvent::Kind::Added, added);
    }
    return true;
}

void SearchModel::QueueRowEvent(ListEvent::Kind kind, const SearchResult& result) {
    events_.push_back(ListEvent{kind, MakeRow(result)});
    Wake();
}

void SearchModel::CountShown(SearchRecord& search) {
    ++search.shownCount;
    changedCounts_.insert(search.id);
    Wake();
}

void SearchModel::Wake() {
    if (listener_ != nullptr && !drainPosted_) {
        drainPosted_ = true;
        listener_->OnListChanged();
    }
}

void SearchModel::SetListener(ListChangeListener* listener) {
    std::lock_guard lock(mutex_);
    listener_ = listener;
    drainPosted_ = false;
    if (!events_.empty() || !changedCounts_.empty()) {
        Wake();
    }
}

ListChanges SearchModel::TakeListChanges() {
    std::lock_guard lock(mutex_);
    ListChanges changes;
    // Taken whole, so that the queue does not keep a burst's capacity.
    changes.events.swap(events_);
    const std::int32_t displayed = displayed_.load();
    const SearchRecord* shown = Find(displayed);
    // Events are queued only for the displayed search, and showing another
    // drops them; a search removed since must still not reach the list.
    if (shown == nullptr || shown->removed) {
        changes.events.clear();
    }
    std::erase_if(changes.events, [displayed](const ListEvent& event) {
        return event.row.result->searchId != displayed;
    });
    for (std::int32_t id : changedCounts_) {
        if (const SearchRecord* search = Find(id)) {
            changes.counts.emplace_back(id, search->shownCount);
        }
    }
    changedCounts_.clear();
    drainPosted_ = false;
    return changes;
}

std::vector<ListedRow> SearchModel::ShowSearch(std::int32_t searchId) {
    std::vector<ListedRow> rows;
    RowOrdering ordering;
    {
        std::lock_guard lock(mutex_);
        displayed_ = searchId;
        events_.clear();
        ordering = ordering_;
        const auto found = searches_.find(searchId);
        shownBefore_ = std::move(shown_);
        shown_ = found != searches_.end() ? found->second : nullptr;
        if (shown_ != nullptr) {
            rows.reserve(shown_->results.size());
            for (auto it = shown_->results.rbegin(); it != shown_->results.rend(); ++it) {
                if (it->fromCore || it->probe != ProbeState::Failed) {
                    rows.push_back(MakeRow(*it));
                }
            }
        }
    }
    // The rows hold copies of what can change, so they are ordered outside
    // the lock.
    OrderAsInserted(rows, ordering);
    return rows;
}

std::vector<ListedRow> SearchModel::SortBy(ResultColumn column) {
    {
        std::lock_guard lock(mutex_);
        ordering_ = ClickHeader(ordering_, column);
    }
    return ShowSearch(displayed_.load());
}

RowOrdering SearchModel::Ordering() const {
    std::lock_guard lock(mutex_);
    return ordering_;
}

// Removing a search takes its results off the queue: nobody will see them
// again, so they are not worth a probe.
SearchModel::ProbeJob SearchModel::NextToProbe() {
    std::lock_guard lock(mutex_);
    while (!unprobed_.empty()) {
        SearchResult* result = unprobed_.back();
        unprobed_.pop_back();
        const auto search = searches_.find(result->searchId);
        if (result->probe == ProbeState::New && search != searches_.end()) {
            result->probe = ProbeState::Probing;
            return ProbeJob{search->second, result};
        }
    }
    return {};
}

void SearchModel::ProbeTick() {
    if (shutDown_.load() || runningProbes_.load() >= kMaxRunningProbes) {
        return;
    }
    ProbeJob job = NextToProbe();
    if (job.result == nullptr || job.result->Link().empty()) {
        return;
    }
    ++runningProbes_;
    probes_->Start([this, job = std::move(job)] { RunProbe(job); });
}

void SearchModel::RunProbe(const ProbeJob& job) {
    const std::optional<std::int64_t> size =
        SizeFromHeader(probes_->FetchHeader(job.result->Link()));
    --runningProbes_;
    // A fetch cut short by the shutdown says nothing about the file.
    if (!shutDown_.load()) {
        ReportProbe(*job.result, size);
    }
}

void SearchModel::ReportProbe(SearchResult& result, std::optional<std::int64_t> size) {
    std::lock_guard lock(mutex_);
    result.probe = size ? ProbeState::SizeKnown : ProbeState::Failed;
    result.size = size.value_or(0);
    SearchRecord* search = Find(result.searchId);
    if (search == nullptr) {
        return;
    }
    if (size) {
        CountShown(*search);
    }
    if (search->id == displayed_.load() && !search->removed) {
        QueueRowEvent(size ? ListEvent::Kind::Sized : ListEvent::Kind::Failed, result);
    }
}

void SearchModel::Shutdown() {
    shutDown_ = true;
    probes_->Stop();
}

}  // namespace korvana
