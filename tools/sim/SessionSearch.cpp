// Searches of one connection: catalogue answers paced in batches, result
// floods, and the faulty results that tests ask for.
#include <algorithm>

#include "tools/sim/CoreMessages.h"
#include "tools/sim/Session.h"

namespace korvana::sim {

namespace {
// Search ids that no front end starts (it counts them up from 0).
constexpr std::int32_t kForeignSearchOffset = 0x40000000;
}  // namespace

void Session::StartSearch(const SearchQuery& search) {
    RunningSearch running;
    if (faults_.flood > 0) {
        running.floodLeft = faults_.flood;
    } else {
        const std::size_t wanted =
            search.maxHits > 0 ? static_cast<std::size_t>(search.maxHits) : kMaxResultsPerSearch;
        running.songs = core_.Search(search.query, std::min(wanted, kMaxResultsPerSearch));
    }
    searches_[search.id] = std::move(running);
    SendFaultyResults(search.id);
}

void Session::SendFaultyResults(std::int32_t searchId) {
    if (faults_.unknownSearchResults) {
        // A described result bound to a search nobody started, and a search
        // result naming a result that was never described.
        SendResult(kForeignSearchOffset + searchId, core_.NextFloodIndex(), false);
        const auto undescribed = static_cast<std::int32_t>(core_.NextFloodIndex() + 1);
        Send(EncodeSearchResult(searchId, undescribed));
    }
    if (faults_.truncatedStrings) {
        const auto id = static_cast<std::int32_t>(core_.NextFloodIndex() + 1);
        Send(EncodeTruncatedResult(id, 1));
        Send(EncodeSearchResult(searchId, id));
    }
}

// A real core describes a result once per connection and afterwards only
// binds it to further searches.
void Session::SendResult(std::int32_t searchId, std::size_t song, bool remember) {
    const std::optional<ResultInfo> result = core_.Result(song);
    if (!result) {
        return;
    }
    const int copies = faults_.duplicateResults ? 2 : 1;
    if (!remember || describedResults_.insert(result->id).second || faults_.duplicateResults) {
        for (int i = 0; i < copies; ++i) {
            Send(EncodeResult(*result, core_.Form()));
        }
    }
    for (int i = 0; i < copies; ++i) {
        Send(EncodeSearchResult(searchId, result->id));
    }
}

void Session::Tick(SimClock::time_point now) {
    if (helloPending_ && now >= helloDue_) {
        helloPending_ = false;
        Send(EncodeHello(core_.Form()));
    }
    if (now < nextBatch_ || closing_) {
        return;
    }
    nextBatch_ = now + kBatchInterval;
    for (auto it = searches_.begin(); it != searches_.end();) {
        RunningSearch& search = it->second;
        const std::size_t end = std::min(search.songs.size(), search.next + kResultsPerBatch);
        for (; search.next < end; ++search.next) {
            SendResult(it->first, search.songs[search.next], true);
        }
        const bool done = search.next == search.songs.size() && search.floodLeft == 0;
        it = done ? searches_.erase(it) : std::next(it);
    }
}

void Session::Pump() {
    for (auto it = searches_.begin(); it != searches_.end() && !closing_;) {
        RunningSearch& search = it->second;
        while (search.floodLeft > 0 && PendingOutput().size() < kFloodLowWater) {
            SendResult(it->first, core_.NextFloodIndex(), false);
            --search.floodLeft;
        }
        const bool done = search.floodLeft == 0 && search.next == search.songs.size();
        if (done && faults_.flood > 0) {
            floodQueued_ = true;
        }
        it = done ? searches_.erase(it) : std::next(it);
    }
}

bool Session::TakeFloodSent() {
    if (!floodQueued_ || !PendingOutput().empty()) {
        return false;
    }
    floodQueued_ = false;
    return true;
}

}  // namespace korvana::sim
