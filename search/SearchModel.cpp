#include "search/SearchModel.h"

#include <algorithm>
#include <iterator>

#include "core/TextLimit.h"
#include "util/AsciiCase.h"

namespace korvana {
namespace {

// A row that shares its search's ownership.
ListedRow RowOf(const std::shared_ptr<SearchRecord>& search, const SearchResult& result) {
    return MakeRow(std::shared_ptr<const SearchResult>(search, &result));
}

// What the filter matches of a web result beside its name.
std::string KnownTags(const KnownWebResult& known) {
    std::string tags;
    JoinTags(tags, known.artist, known.title, known.album);
    return tags;
}

}  // namespace

const SearchModel::RecordPtr* SearchModel::Find(std::int32_t searchId) const {
    const auto found = searches_.find(searchId);
    return found == searches_.end() ? nullptr : &found->second;
}

const SearchModel::RecordPtr* SearchModel::FindOpen(std::int32_t searchId) const {
    const RecordPtr* search = Find(searchId);
    return search != nullptr && !(*search)->stopped && !(*search)->removed ? search : nullptr;
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
    if (const RecordPtr* search = Find(searchId)) {
        (*search)->stopped = true;
    }
}

// The model lets go of the search; its results go once the rows and probes
// that share it have let go too.
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
    changedProgress_.erase(searchId);
    searches_.erase(found);
}

std::int32_t SearchModel::ShownCount(std::int32_t searchId) const {
    std::lock_guard lock(mutex_);
    const RecordPtr* search = Find(searchId);
    return search != nullptr ? (*search)->shownCount : 0;
}

const std::string* SearchModel::KeptNetworkName(std::string_view network) {
    const auto kept = networkTexts_.find(std::string(network));
    return &*(kept != networkTexts_.end() ? kept : networkTexts_.emplace(network).first);
}

void SearchModel::AddCoreResult(std::shared_ptr<const PooledResult> result, std::int32_t searchId,
                                std::string_view network) {
    std::lock_guard lock(mutex_);
    const RecordPtr* search = result ? FindOpen(searchId) : nullptr;
    // The core may report a result to the same search again: one row.
    if (search == nullptr || !(*search)->coreIds.Insert(result->resultId)) {
        return;
    }
    SearchResult& added = (*search)->results.emplace_back();
    added.searchId = searchId;
    added.fromCore = true;
    added.network = KeptNetworkName(network);
    added.size = result->size;
    added.core = std::move(result);
    CountShown(**search, *added.network);
    if (searchId == displayed_.load()) {
        QueueRowEvent(ListEvent::Kind::Added, *search, added);
    }
}

bool SearchModel::AddWebResult(int searchId, const std::string& link, const std::string& name,
                               WebEngineId /*engine*/) {
    std::lock_guard lock(mutex_);
    const RecordPtr* search = FindOpen(searchId);
    if (search == nullptr || !(*search)->webLinks.insert(AsciiLowered(link)).second) {
        return true;
    }
    SearchResult& added = (*search)->results.emplace_back();
    added.searchId = searchId;
    added.web = std::make_unique<WebLocation>(
        WebLocation{TruncateText(name, SearchResult::kMaxName), link});
    unprobed_.push_back(&added);
    if (searchId == displayed_.load()) {
        QueueRowEvent(ListEvent::Kind::Added, *search, added);
    }
    return true;
}

bool SearchModel::AddKnownWebResult(int searchId, const KnownWebResult& known,
                                    WebEngineId /*engine*/) {
    std::lock_guard lock(mutex_);
    const RecordPtr* search = FindOpen(searchId);
    if (search == nullptr || known.size < 0 ||
        !(*search)->webLinks.insert(AsciiLowered(known.link)).second) {
        return true;
    }
    SearchResult& added = (*search)->results.emplace_back();
    added.searchId = searchId;
    added.web = std::make_unique<WebLocation>(
        WebLocation{TruncateText(known.name, SearchResult::kMaxName), known.link,
                    TruncateText(known.info, WebLocation::kMaxInfo), KnownTags(known)});
    added.size = known.size;
    added.probe = ProbeState::SizeKnown;
    CountShown(**search, kWebNetwork);
    if (searchId == displayed_.load()) {
        QueueRowEvent(ListEvent::Kind::Added, *search, added);
    }
    return true;
}

void SearchModel::QueueRowEvent(ListEvent::Kind kind, const RecordPtr& search,
                                const SearchResult& result) {
    events_.push_back(ListEvent{kind, RowOf(search, result)});
    notice_.Raise();
}

void SearchModel::CountShown(SearchRecord& search, const std::string& network) {
    ++search.shownCount;
    const auto counted = std::find_if(search.shownByNetwork.begin(), search.shownByNetwork.end(),
                                      [&](const auto& entry) { return entry.first == network; });
    if (counted == search.shownByNetwork.end()) {
        search.shownByNetwork.emplace_back(network, 1);
    } else {
        ++counted->second;
    }
    changedCounts_.insert(search.id);
    notice_.Raise();
}

void SearchModel::EngineTaskStarted(int searchId, const std::string& engine) {
    std::lock_guard lock(mutex_);
    if (const RecordPtr* search = Find(searchId)) {
        (*search)->engines.TaskStarted(engine);
        changedProgress_.insert(searchId);
        notice_.Raise();
    }
}

void SearchModel::EngineTaskEnded(int searchId, const std::string& engine,
                                  const EngineTaskOutcome& outcome) {
    std::lock_guard lock(mutex_);
    if (const RecordPtr* search = Find(searchId)) {
        (*search)->engines.TaskEnded(engine, outcome);
        changedProgress_.insert(searchId);
        notice_.Raise();
    }
}

SearchProgress SearchModel::Progress(std::int32_t searchId) const {
    std::lock_guard lock(mutex_);
    SearchProgress progress;
    const RecordPtr* search = Find(searchId);
    if (search == nullptr) {
        return progress;
    }
    const SearchRecord& record = **search;
    progress.core = record.stopped ? CorePart::Stopped : CorePart::Searching;
    progress.shownResults = record.shownCount;
    progress.coreResults = record.shownCount;
    for (const auto& [network, count] : record.shownByNetwork) {
        if (network == kWebNetwork) {
            progress.coreResults -= count;
        }
    }
    progress.engines = record.engines.Engines();
    return progress;
}

std::string SearchModel::NetworkCountsText(std::int32_t searchId) const {
    std::lock_guard lock(mutex_);
    const RecordPtr* search = Find(searchId);
    if (search == nullptr) {
        return {};
    }
    std::vector<std::pair<std::string, std::int32_t>> counts = (*search)->shownByNetwork;
    std::sort(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    std::string text;
    for (const auto& [network, count] : counts) {
        text += (text.empty() ? "" : ", ") + network + " " + std::to_string(count);
    }
    return text;
}

ListChanges SearchModel::TakeListChanges(const std::vector<ListedRow>& listed) {
    std::vector<ListEvent> events;
    RowOrdering ordering;
    WordFilter filter;
    ListChanges changes;
    {
        std::lock_guard lock(mutex_);
        notice_.Taken();
        // Taken whole, so that the queue does not keep a burst's capacity.
        events.swap(events_);
        ordering = ordering_;
        filter = filter_;
        const std::int32_t displayed = displayed_.load();
        // Events are queued only for the displayed search, and showing
        // another drops them; a search removed since must still not reach
        // the list.
        const RecordPtr* shown = Find(displayed);
        if (shown == nullptr || (*shown)->removed) {
            events.clear();
        }
        for (std::int32_t id : changedCounts_) {
            if (const RecordPtr* search = Find(id)) {
                changes.counts.emplace_back(id, (*search)->shownCount);
            }
        }
        changedCounts_.clear();
        changes.progressed.assign(changedProgress_.begin(), changedProgress_.end());
        changedProgress_.clear();
    }
    // A name never changes, so a row the filter hides is hidden in every
    // event about it: such events are dropped whole.
    if (!filter.Empty()) {
        std::erase_if(events,
                      [&filter](const ListEvent& event) { return !ShownBy(filter, event.row); });
    }
    // The events hold copies of what can change, so the steps are worked
    // out outside the lock.
    if (!events.empty()) {
        changes.steps = ListSteps(listed, std::move(events), ordering);
    }
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
        if (const RecordPtr* search = Find(searchId)) {
            rows.reserve((*search)->results.size());
            for (auto it = (*search)->results.rbegin(); it != (*search)->results.rend(); ++it) {
                if ((it->fromCore || it->probe != ProbeState::Failed) &&
                    (filter_.Empty() || filter_.Matches(it->Name(), it->Tags()))) {
                    rows.push_back(RowOf(*search, *it));
                }
            }
        }
    }
    // The rows hold copies of what can change, so they are ordered outside
    // the lock.
    OrderAsInserted(rows, ordering);
    return rows;
}

std::vector<ListedRow> SearchModel::FilterRows(const WordFilter& filter,
                                               const std::vector<ListedRow>& listed) {
    bool narrows = false;
    {
        std::lock_guard lock(mutex_);
        narrows = filter.Narrows(filter_);
        filter_ = filter;
    }
    if (!narrows) {
        return ShowSearch(displayed_.load());
    }
    // The rows on screen are the ones the last filter showed, in list order,
    // and every row this one shows is among them.
    std::vector<ListedRow> rows;
    rows.reserve(listed.size());
    std::copy_if(listed.begin(), listed.end(), std::back_inserter(rows),
                 [&filter](const ListedRow& row) { return ShownBy(filter, row); });
    return rows;
}

bool SearchModel::Filtered() const {
    std::lock_guard lock(mutex_);
    return !filter_.Empty();
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

bool SearchModel::ProbesWaiting() const {
    std::lock_guard lock(mutex_);
    return !unprobed_.empty();
}

ProbeJob SearchModel::TakeNextToProbe() {
    std::lock_guard lock(mutex_);
    while (!unprobed_.empty()) {
        SearchResult* result = unprobed_.back();
        unprobed_.pop_back();
        const RecordPtr* search = Find(result->searchId);
        if (result->probe == ProbeState::New && search != nullptr && !result->Link().empty()) {
            result->probe = ProbeState::Probing;
            return ProbeJob{std::shared_ptr<SearchResult>(*search, result), result->Link()};
        }
    }
    return {};
}

void SearchModel::ReportProbe(const ProbeJob& job, std::optional<std::int64_t> size) {
    std::lock_guard lock(mutex_);
    SearchResult& result = *job.result;
    result.probe = size ? ProbeState::SizeKnown : ProbeState::Failed;
    result.size = size.value_or(0);
    const RecordPtr* search = Find(result.searchId);
    if (search == nullptr) {
        return;
    }
    if (size) {
        CountShown(**search, kWebNetwork);
    }
    if (result.searchId == displayed_.load() && !(*search)->removed) {
        QueueRowEvent(size ? ListEvent::Kind::Sized : ListEvent::Kind::Failed, *search, result);
    }
}

}  // namespace korvana
