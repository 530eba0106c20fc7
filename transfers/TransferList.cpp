#include "transfers/TransferList.h"

#include <algorithm>

#include "core/StatusLine.h"
#include "core/StatusLog.h"
#include "core/TextLimit.h"
#include "platform/Clock.h"
#include "transfers/TransferTexts.h"
#include "util/AsciiCase.h"

namespace korvana {
TransferList::TransferList(const Clock& clock, StatusLog& log) : clock_(clock), log_(log) {}

std::unique_lock<std::mutex> TransferList::Lock() {
    return std::unique_lock(downloadsLock_);
}

TransferList::Downloads::iterator* TransferList::FindExact(std::string_view key) {
    const auto found = byKey_.find(AsciiLowered(key));
    if (found == byKey_.end()) {
        return nullptr;
    }
    for (Downloads::iterator& record : found->second) {
        if (record->key == key) {
            return &record;
        }
    }
    return nullptr;
}

// The newest of the records whose keys match, as a walk from the head of
// the list would find it first.
TransferItem* TransferList::FindIgnoringCase(std::string_view key) {
    const auto found = byKey_.find(AsciiLowered(key));
    if (found == byKey_.end() || found->second.empty()) {
        return nullptr;
    }
    return &*found->second.back();
}

TransferItem* TransferList::FindDownload(std::string_view key) {
    Downloads::iterator* record = FindExact(key);
    return record != nullptr ? &**record : nullptr;
}

void TransferList::Insert(TransferItem item) {
    downloads_.push_front(std::move(item));
    byKey_[AsciiLowered(downloads_.front().key)].push_back(downloads_.begin());
}

void TransferList::RemoveDownload(std::string_view key) {
    const auto found = byKey_.find(AsciiLowered(key));
    if (found == byKey_.end()) {
        return;
    }
    auto& records = found->second;
    const auto record = std::find_if(records.begin(), records.end(),
                                     [key](const auto& r) { return r->key == key; });
    if (record == records.end()) {
        return;
    }
    downloads_.erase(*record);
    records.erase(record);
    if (records.empty()) {
        byKey_.erase(found);
    }
}

void TransferList::AddOrUpdateDownload(TransferItem item) {
    const auto lock = Lock();
    item.name = TruncateText(std::move(item.name), TransferItem::kMaxName);
    item.key = TruncateText(std::move(item.key), TransferItem::kMaxKey);
    if (TransferItem* known = FindDownload(item.key)) {
        known->downloaded = item.downloaded;
        // A file first seen before its size was known learns it later.
        known->size = known->size == 0 ? item.size : known->size;
        known->rate = item.rate;
        known->coreState = item.coreState;
        if (item.coreState == kCoreStateDownloaded) {
            known->finishTime = clock_.WallNow();
        }
        return;
    }
    Insert(std::move(item));
}

void TransferList::UpdateDownloadProgress(std::int32_t fileNumber, std::int64_t downloaded,
                                          double rate) {
    const auto lock = Lock();
    if (TransferItem* known = FindDownload(std::to_string(fileNumber))) {
        known->downloaded = downloaded;
        known->rate = static_cast<float>(rate);
    }
}

void TransferList::AddOrUpdateUpload(UploadItem item) {
    const auto lock = Lock();
    const auto found = byFileNumber_.find(item.fileNumber);
    if (found == byFileNumber_.end()) {
        item.name = TruncateText(std::move(item.name), UploadItem::kMaxName);
        uploads_.push_front(std::move(item));
        byFileNumber_.emplace(uploads_.front().fileNumber, uploads_.begin());
        return;
    }
    UploadItem& known = *found->second;
    known.uploaded = item.uploaded;
    known.requests = item.requests;
    known.lastUpdate = item.lastUpdate;
    // An upload first reported by its totals alone has no name until the
    // core's file information arrives.
    if (known.name.empty() && !item.name.empty()) {
        known.name = TruncateText(std::move(item.name), UploadItem::kMaxName);
    }
    log_.Line(FormatStatusLine("%s updated to %lld bytes uploaded", known.name.c_str(),
                               static_cast<long long>(known.uploaded)));
}

void TransferList::OpenWebDownload(const std::string& key, const std::string& name) {
    const auto lock = Lock();
    const std::time_t now = clock_.WallNow();
    TransferItem* record = FindIgnoringCase(key);
    if (record == nullptr) {
        TransferItem item;
        item.key = TruncateText(key, TransferItem::kMaxKey);
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
}

bool TransferList::ReportWebDownload(const std::string& key, const std::string& /*name*/,
                                     std::int64_t received, std::int64_t total, int code) {
    const auto lock = Lock();
    TransferItem* record = FindIgnoringCase(key);
    if (record == nullptr) {
        return false;
    }
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
    return code == 0 && !record->cancelled;
}

bool TransferList::HasWebDownload(std::string_view link) {
    const auto lock = Lock();
    const TransferItem* record = FindIgnoringCase(link);
    return record != nullptr && !IsCoreKey(record->key);
}

bool TransferList::HasCoreDownload(std::string_view fileName) {
    const auto lock = Lock();
    return std::any_of(downloads_.begin(), downloads_.end(), [fileName](const TransferItem& r) {
        return IsCoreKey(r.key) && r.name == fileName;
    });
}

void TransferList::SetWebTotals(int count, std::int64_t bytesPerSecond) {
    activeWebDownloads_.store(count);
    webDownloadRate_.store(bytesPerSecond);
}

}  // namespace korvana
