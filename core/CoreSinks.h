#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "core/CoreResult.h"
#include "core/TransferItem.h"

namespace korvana {

// Where the core link hands search results: the search model, which owns
// the searches and guards them itself.
class CoreResultSink {
  public:
    virtual ~CoreResultSink() = default;
    // The core reports that `result`, found on the network named `network`,
    // belongs to search `searchId`. Kept only while the front end has that
    // search open, decided in the same step as the keeping, so a search
    // cannot go away in between. The same record comes again when another
    // search reports the same result id, and may come again for the same
    // search.
    virtual void AddCoreResult(std::shared_ptr<const PooledResult> result, std::int32_t searchId,
                               std::string_view network) = 0;
};

// Where the core link hands downloads and uploads: the transfer lists, which
// own "downloads_lock" and take it in each call.
class TransferSink {
  public:
    virtual ~TransferSink() = default;
    virtual void AddOrUpdateDownload(TransferItem item) = 0;
    virtual void UpdateDownloadProgress(std::int32_t fileNumber, std::int64_t downloaded,
                                        double rate) = 0;
    virtual void AddOrUpdateUpload(UploadItem item) = 0;
};

}  // namespace korvana
