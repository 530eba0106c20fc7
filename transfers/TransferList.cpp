#include "transfers/TransferList.h"

#include <algorithm>

#include "core/StatusLine.h"
#include "core/StatusLog.h"
#include "core/TextLimit.h"
#include "platform/Clock.h"
#include "transfers/FinishedFiles.h"
#include "transfers/TransferTexts.h"
#include "util/AsciiCase.h"

namespace korvana {
namespace {

// A link longer than a key may be is kept cut, and found by its cut form,
// so that the reports of a download with a long link find its record.
std::string BoundedLink(std::string_view link) {
    return TruncateText(std::string(link), TransferItem::kMaxKey);
}

// The index of a link: its cut form in lower case.
std::string FoldedLink(std::string_view link) {
    return AsciiLowered(link.size() <= TransferItem::kMaxKey ? std::string(link)
                                                             : BoundedLink(link));
}

TransferKey Bounded(TransferKey key) {
    if (key.IsCore() || key.Link().size() <= TransferItem::kMaxKey) {
        return key;
    }
    return TransferKey::Web(BoundedLink(key.Link()));
}

// What a web download's row shows of its record.
struct WebProgress {
    std::int64_t downloaded;
    std::int64_t size;
    bool contacting;
    std::int32_t errorCode;
    std::time_t finishTime;
    friend bool operator==(const WebProgress&, const WebProgress&) = default;
};

WebProgress ProgressOf(const TransferItem& item) {
    return {item.downloaded, item.size, item.contacting, item.errorCode, item.finishTime};
}

}  // namespace

TransferList::TransferList(const Clock& clock, StatusLog& log) : clock_(clock), log_(log) {}

std::unique_lock<std::mutex> TransferList::Lock() {
    return std::unique_lock(downloadsLock_);
}

TransferList::Downloads::iterator* TransferList::FindExactLink(std::string_view link) {
    const auto found = byLink_.find(FoldedLink(link));
    if (found == byLink_.end()) {
        return nullptr;
    }
    const std::string bounded = BoundedLink(link);
    for (Downloads::iterator& record : found->second) {
        if (record->key.Link() == bounded) {
            return &record;
        }
    }
    return nullptr;
}

// The newest of the web downloads whose links match, as a walk from the
// head of the list would find it first.
TransferItem* TransferList::FindLinkIgnoringCase(std::string_view link) {
    const auto found = byLink_.find(FoldedLink(link));
    if (found == byLink_.end() || found->second.empty()) {
        return nullptr;
    }
    return &*found->second.back();
}

TransferItem* TransferList::FindDownload(const TransferKey& key) {
    if (key.IsCore()) {
        const auto found = coreByFileNumber_.find(key.FileNumber());
        return found != coreByFileNumber_.end() ? &*found->second : nullptr;
    }
    Downloads::iterator* record = FindExactLink(key.Link());
    return record != nullptr ? &**record : nullptr;
}

void TransferList::Insert(TransferItem item) {
    downloads_.push_front(std::move(item));
    const TransferKey& key = downloads_.front().key;
    if (key.IsCore()) {
        coreByFileNumber_.emplace(key.FileNumber(), downloads_.begin());
    } else {
        byLink_[FoldedLink(key.Link())].push_back(downloads_.begin());
    }
}

void TransferList::RemoveDownload(const TransferKey& key) {
    if (key.IsCore()) {
        const auto found = coreByFileNumber_.find(key.FileNumber());
        if (found != coreByFileNumber_.end()) {
            downloads_.erase(found->second);
            coreByFileNumber_.erase(found);
        }
        return;
    }
    const auto found = byLink_.find(FoldedLink(key.Link()));
    if (found == byLink_.end()) {
        return;
    }
    auto& records = found->second;
    const std::string bounded = BoundedLink(key.Link());
    const auto record = std::find_if(records.begin(), records.end(), [&bounded](const auto& r) {
        return r->key.Link() == bounded;
    });
    if (record == records.end()) {
        return;
    }
    downloads_.erase(*record);
    records.erase(record);
    if (records.empty()) {
        byLink_.erase(found);
    }
}

void TransferList::AddOrUpdateDownload(TransferItem item) {
    const auto lock = Lock();
    item.name = TruncateText(std::move(item.name), TransferItem::kMaxName);
    item.key = Bounded(std::move(item.key));
    TransferItem* known = FindDownload(item.key);
    if (known == nullptr) {
        Insert(std::move(item));
        notice_.Raise();
        return;
    }
    // A file first seen before its size was known learns it later.
    const std::int64_t size = known->size == 0 ? item.size : known->size;
    const bool changed = known->downloaded != item.downloaded || known->size != size ||
                         known->rate != item.rate || known->coreState != item.coreState;
    known->downloaded = item.downloaded;
    known->size = size;
    known->rate = item.rate;
    known->coreState = item.coreState;
    if (item.coreState == kCoreStateDownloaded) {
        known->finishTime = clock_.WallNow();
    }
    if (changed) {
        notice_.Raise();
    }
}

void TransferList::UpdateDownloadProgress(std::int32_t fileNumber, std::int64_t downloaded,
                                          double rate) {
    const auto lock = Lock();
    TransferItem* known = FindDownload(TransferKey::Core(fileNumber));
    if (known == nullptr) {
        return;
    }
    const auto newRate = static_cast<float>(rate);
    if (known->downloaded != downloaded || known->rate != newRate) {
        known->downloaded = downloaded;
        known->rate = newRate;
        notice_.Raise();
    }
}

void TransferList::AddOrUpdateUpload(UploadItem item) {
    const auto lock = Lock();
    const auto found = uploadsByFileNumber_.find(item.fileNumber);
    if (found == uploadsByFileNumber_.end()) {
        item.name = TruncateText(std::move(item.name), UploadItem::kMaxName);
        uploads_.push_front(std::move(item));
        uploadsByFileNumber_.emplace(uploads_.front().fileNumber, uploads_.begin());
        notice_.Raise();
        return;
    }
    UploadItem& known = *found->second;
    const std::time_t now = clock_.WallNow();
    const bool wasShown = IsUploadShown(known, now);
    bool changed = known.uploaded != item.uploaded;
    known.uploaded = item.uploaded;
    known.requests = item.requests;
    known.lastUpdate = item.lastUpdate;
    // An upload first reported by its totals alone has no name until the
    // core's file information arrives.
    if (known.name.empty() && !item.name.empty()) {
        known.name = TruncateText(std::move(item.name), UploadItem::kMaxName);
        changed = true;
    }
    // An upload whose row had left for want of reports comes back with one.
    if (changed || (!wasShown && IsUploadShown(known, now))) {
        notice_.Raise();
    }
    log_.Line(FormatStatusLine("%s updated to %lld bytes uploaded", known.name.c_str(),
                               static_cast<long long>(known.uploaded)));
}

void TransferList::OpenWebDownload(const std::string& key, const std::string& name) {
    const auto lock = Lock();
    const std::time_t now = clock_.WallNow();
    TransferItem* record = FindLinkIgnoringCase(key);
    if (record == nullptr) {
        TransferItem item;
        item.key = Bounded(TransferKey::Web(key));
        item.name = TruncateText(name, TransferItem::kMaxName);
        Insert(std::move(item));
        record = &downloads_.front();
    }
    record->downloaded = 0;
    record->size = 0;
    record->errorCode = 0;
    record->cancelled = false;
    record->contacting = true;
    record->startTime = now;
    record->finishTime = 0;
    record->savedFile.clear();
    notice_.Raise();
}

void TransferList::PlaceWebDownload(const std::string& key, const std::filesystem::path& file) {
    const auto lock = Lock();
    TransferItem* record = FindLinkIgnoringCase(key);
    if (record != nullptr && record->savedFile != file) {
        record->savedFile = file;
        notice_.Raise();
    }
}

bool TransferList::ReportWebDownload(const std::string& key, const std::string& /*name*/,
                                     std::int64_t received, std::int64_t total, int code) {
    const auto lock = Lock();
    TransferItem* record = FindLinkIgnoringCase(key);
    if (record == nullptr) {
        return false;
    }
    const WebProgress before = ProgressOf(*record);
    const std::time_t now = clock_.WallNow();
    if (record->contacting) {
        record->startTime = now;
    }
    record->downloaded = received;
    record->size = total;
    record->contacting = false;
    record->errorCode = code;
    if (record->downloaded == record->size) {
        record->finishTime = now;
    } else if (code == 0 && !record->cancelled) {
        record->finishTime = 0;
    }
    if (ProgressOf(*record) != before) {
        notice_.Raise();
    }
    return code == 0 && !record->cancelled;
}

bool TransferList::HasWebDownload(std::string_view link) {
    const auto lock = Lock();
    return FindLinkIgnoringCase(link) != nullptr;
}

bool TransferList::HasCoreDownload(std::string_view fileName) {
    // The core lists a download under the name it will give the file,
    // which may differ from the result's.
    const std::string coreName = CoreFileName(std::string(fileName), CoreNameRules::Posix);
    const auto lock = Lock();
    return std::any_of(downloads_.begin(), downloads_.end(), [&](const TransferItem& r) {
        return r.key.IsCore() && (r.name == fileName || r.name == coreName);
    });
}

void TransferList::SetWebTotals(int count, std::int64_t bytesPerSecond) {
    activeWebDownloads_.store(count);
    webDownloadRate_.store(bytesPerSecond);
}

}  // namespace korvana
