#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "core/CoreResult.h"
#include "core/TransferItem.h"

namespace korvana {

// Where the core link hands search results: the search model, which owns
// the searches and "search_lock". The link calls Lock() and then, while it
// holds the lock, HasSearch() and AddCoreResult(); the lock is re-entrant so
// AddCoreResult may take it again.
class CoreResultSink {
  public:
    virtual ~CoreResultSink() = default;
    virtual std::unique_lock<std::recursive_mutex> Lock() = 0;
    // True for a search that the front end started (stopped or not).
    virtual bool HasSearch(std::int32_t searchId) const = 0;
    // The core reports that `result` belongs to search `searchId`. The same
    // record comes again when another search reports the same result id,
    // and may come again for the same search.
    virtual void AddCoreResult(std::shared_ptr<const PooledResult> result,
                               std::int32_t searchId) = 0;
};

// Where the core link hands downloads and uploads: the transfer lists, which
// own "downloads_lock". AddOrUpdateUpload is called with Lock() held;
// AddOrUpdateDownload and UpdateDownloadProgress take the lock themselves.
class TransferSink {
  public:
    virtual ~TransferSink() = default;
    virtual std::unique_lock<std::recursive_mutex> Lock() = 0;
    virtual void AddOrUpdateDownload(TransferItem item) = 0;
    virtual void UpdateDownloadProgress(std::int32_t fileNumber, std::int64_t downloaded,
                                        double rate) = 0;
    virtual void AddOrUpdateUpload(UploadItem item) = 0;
};

}  // namespace korvana
