#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "core/StatusLine.h"
#include "core/StatusLog.h"
#include "platform/Clock.h"
#include "transfers/TransferBoard.h"
#include "transfers/TransferList.h"
#include "transfers/TransferTexts.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;

void Sooner(std::optional<std::chrono::seconds>& wake, std::chrono::seconds in) {
    if (!wake || in < *wake) {
        wake = in;
    }
}

// Brings `rows` to their new state and queues the steps that bring a view's
// copy along: the rows at `changed` (already rewritten in place) as one
// Changed step per run of neighbouring rows, the rows at `gone` as one
// Removed step per run, from the bottom up so that the runs above keep their
// numbers, and `added` at the end as one Inserted step. `rowOf` finds a row
// by its key.
template <typename Row, typename Key, typename KeyOf>
void Settle(std::vector<Row>& rows, std::unordered_map<Key, std::size_t>& rowOf, KeyOf keyOf,
            RowChanges<Row>& queue, std::vector<std::size_t> changed, std::vector<std::size_t> gone,
            std::vector<Row> added) {
    const auto at = [&rows](std::size_t index) {
        return rows.begin() + static_cast<std::ptrdiff_t>(index);
    };
    std::sort(changed.begin(), changed.end());
    for (std::size_t i = 0; i < changed.size();) {
        const std::size_t first = changed[i];
        std::size_t last = first;
        while (++i < changed.size() && changed[i] == last + 1) {
            last = changed[i];
        }
        queue.push_back(RowChange<Row>::Changed(first, std::vector<Row>(at(first), at(last + 1))));
    }
    std::sort(gone.begin(), gone.end(), std::greater<>());
    for (std::size_t i = 0; i < gone.size();) {
        const std::size_t last = gone[i];
        std::size_t first = last;
        while (++i < gone.size() && gone[i] + 1 == first) {
            first = gone[i];
        }
        queue.push_back(RowChange<Row>::Removed(first, last - first + 1));
        rows.erase(at(first), at(last + 1));
    }
    if (!gone.empty()) {
        IndexRows(rows, rowOf, keyOf);
    }
    if (!added.empty()) {
        const std::size_t first = rows.size();
        for (const Row& row : added) {
            rowOf.emplace(keyOf(row), rows.size());
            rows.push_back(row);
        }
        queue.push_back(RowChange<Row>::Inserted(first, std::move(added)));
    }
}

enum class Ending { None, Finished, Failed };

Ending EndingOf(std::string_view status) {
    if (status == status::kFinished || status == status::kCoreCompleted ||
        status == status::kCoreDownloaded) {
        return Ending::Finished;
    }
    if (status == status::kCannotContact || status == status::kMissingFile ||
        status == status::kTimeout || status == status::kError || status == status::kCoreAborted) {
        return Ending::Failed;
    }
    return Ending::None;
}

// A row that comes to say it ended; a core row that first appears ended
// ended in an earlier session.
void NoteEnding(const DownloadRow* shown, const DownloadRow& row,
                std::vector<DownloadOutcome>& endings) {
    const Ending now = EndingOf(row.status);
    if (now == Ending::None || (shown == nullptr && row.key.IsCore()) ||
        (shown != nullptr && EndingOf(shown->status) == now)) {
        return;
    }
    const bool failed = now == Ending::Failed;
    endings.push_back({row.name, failed, failed ? row.status : std::string()});
}

}  // namespace

TransferBoard::TransferBoard(TransferBoardServices services) : services_(services) {}

std::optional<std::chrono::seconds> TransferBoard::Refresh() {
    Wake wake;
    const auto lock = services_.list.Lock();
    // Under the lock: a change after this refresh has read the list raises
    // the notice again.
    services_.list.Notice().Taken();
    const std::time_t now = services_.clock.WallNow();
    RefreshDownloads(now, wake);
    RefreshUploads(now, wake);
    ComputeWebTotals(now, wake);
    return wake;
}

RowChanges<DownloadRow> TransferBoard::TakeDownloadChanges() {
    return std::exchange(downloadChanges_, {});
}

RowChanges<UploadRow> TransferBoard::TakeUploadChanges() {
    return std::exchange(uploadChanges_, {});
}

// A row follows its download's key. Only rows whose texts changed are
// rewritten, so an idle list costs the view nothing; a row whose download
// has left the list goes.
std::vector<DownloadOutcome> TransferBoard::TakeEndings() {
    return std::exchange(endings_, {});
}

void TransferBoard::RefreshDownloads(std::time_t now, Wake& wake) {
    std::vector<bool> seen(downloads_.size(), false);
    std::vector<std::size_t> changed;
    std::vector<DownloadRow> added;
    services_.list.ForEachDownload([&](TransferItem& item) {
        DownloadRow row = MakeDownloadRow(item, now);
        if (ChangesWithTime(item)) {
            Sooner(wake, 1s);
        }
        const auto found = downloadRowOf_.find(item.key);
        NoteEnding(found == downloadRowOf_.end() ? nullptr : &downloads_[found->second], row,
                   endings_);
        if (found == downloadRowOf_.end()) {
            // The time left follows at the next refresh, a second later.
            if (!row.timeLeft.empty()) {
                Sooner(wake, 1s);
            }
            row.timeLeft.clear();
            row.secondsLeft = -1;
            added.push_back(std::move(row));
            return;
        }
        seen[found->second] = true;
        if (DownloadRow& shown = downloads_[found->second]; shown != row) {
            shown = std::move(row);
            changed.push_back(found->second);
        }
    });
    std::vector<std::size_t> gone;
    for (std::size_t index = 0; index < seen.size(); ++index) {
        if (!seen[index]) {
            gone.push_back(index);
        }
    }
    Settle(
        downloads_, downloadRowOf_, [](const DownloadRow& row) { return row.key; },
        downloadChanges_, std::move(changed), std::move(gone), std::move(added));
    KeepDownloadsSorted();
}

void TransferBoard::RefreshUploads(std::time_t now, Wake& wake) {
    int count = 0;
    std::vector<std::size_t> changed;
    std::vector<std::size_t> gone;
    std::vector<UploadRow> added;
    services_.list.ForEachUpload([&](const UploadItem& item) {
        if (item.uploaded <= 0) {
            return;
        }
        const auto found = uploadRowOf_.find(item.fileNumber);
        const bool hasRow = found != uploadRowOf_.end();
        if (!IsUploadShown(item, now)) {
            if (hasRow) {
                services_.log.Line(FormatStatusLine("Dealing with %s", item.name.c_str()));
                gone.push_back(found->second);
            }
            return;
        }
        ++count;
        // Reported "later" than now, the clock went back: look again within
        // the usual time, not at a far-off (or overflowing) moment.
        Sooner(wake, std::chrono::seconds(std::clamp<std::time_t>(
                         item.lastUpdate + kUploadShownSeconds - now, 1, kUploadShownSeconds)));
        UploadRow row{item.fileNumber, item.name, std::to_string(item.uploaded), item.uploaded};
        // Only a change is worth a line: written every second for every
        // shared file, the lines pushed the log's history out within seconds.
        if (hasRow && uploads_[found->second] == row) {
            return;
        }
        services_.log.Line(FormatStatusLine("Dealing with %s", item.name.c_str()));
        services_.log.Line(FormatStatusLine("Updating %s on the display", item.name.c_str()));
        if (!hasRow) {
            added.push_back(std::move(row));
            return;
        }
        uploads_[found->second] = std::move(row);
        changed.push_back(found->second);
    });
    Settle(
        uploads_, uploadRowOf_, [](const UploadRow& row) { return row.fileNumber; }, uploadChanges_,
        std::move(changed), std::move(gone), std::move(added));
    KeepUploadsSorted();
    uploadsLabel_ =
        FormatStatusLine(count == 1 ? "Uploading %d file" : "Uploading %d files", count);
}

void TransferBoard::ClickDownloadColumn(std::size_t column) {
    downloadSort_.Click(column);
    KeepDownloadsSorted();
}

void TransferBoard::ClickUploadColumn(std::size_t column) {
    uploadSort_.Click(column);
    KeepUploadsSorted();
}

// Rows that changed or arrived move to their sorted places in one step,
// which a view takes keeping its selection on the same downloads.
void TransferBoard::KeepDownloadsSorted() {
    if (SortRows(downloads_, downloadSort_, CompareDownloadRows)) {
        IndexRows(downloads_, downloadRowOf_, [](const DownloadRow& row) { return row.key; });
        downloadChanges_.push_back(RowChange<DownloadRow>::Reordered(downloads_));
    }
}

void TransferBoard::KeepUploadsSorted() {
    if (SortRows(uploads_, uploadSort_, CompareUploadRows)) {
        IndexRows(uploads_, uploadRowOf_, [](const UploadRow& row) { return row.fileNumber; });
        uploadChanges_.push_back(RowChange<UploadRow>::Reordered(uploads_));
    }
}

// Web downloads that are receiving: not finished, cancelled or failed, with
// bytes in. A failed download stays in the list but is no longer running.
// Their average rates move with the clock.
void TransferBoard::ComputeWebTotals(std::time_t now, Wake& wake) {
    int count = 0;
    double total = 0.0;
    services_.list.ForEachDownload([&](const TransferItem& item) {
        const std::time_t elapsed = now - item.startTime;
        if (item.finishTime != 0 || item.errorCode != 0 || item.downloaded <= 0 || elapsed <= 0 ||
            item.key.IsCore()) {
            return;
        }
        ++count;
        total += static_cast<double>(item.downloaded) / static_cast<double>(elapsed);
    });
    if (count > 0) {
        Sooner(wake, 1s);
    }
    services_.list.SetWebTotals(count, static_cast<std::int64_t>(total));
}

}  // namespace korvana
