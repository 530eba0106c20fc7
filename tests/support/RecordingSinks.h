#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/CoreSinks.h"

namespace korvana {

// A search model that only remembers: the searches it was told about and
// every result handed to it, in order. Serves tests, benchmarks and
// fuzzing.
class RecordingResultSink final : public CoreResultSink {
  public:
    // A result as it was handed over, with the search it was handed for.
    struct Handed {
        std::int32_t searchId = 0;
        std::int32_t resultId = 0;
        std::int32_t networkNumber = 0;
        std::string name;
        std::int64_t size = 0;
        std::int32_t sources = 0;
        std::int32_t bitrate = 0;
        std::string network;
    };

    void AddSearch(std::int32_t searchId);

    // Keeps results of the searches added only, as the search model does.
    void AddCoreResult(std::shared_ptr<const PooledResult> result, std::int32_t searchId,
                       std::string_view network) override;

    // A copy of what was handed over so far, oldest first.
    std::vector<Handed> Results() const;

  private:
    struct Kept {
        std::int32_t searchId = 0;
        std::shared_ptr<const PooledResult> result;
        std::string network;
    };
    mutable std::mutex mutex_;
    std::set<std::int32_t> searches_;
    std::vector<Kept> results_;
};

// Transfer lists that only remember what they were handed, oldest first.
class RecordingTransferSink final : public TransferSink {
  public:
    struct Progress {
        std::int32_t fileNumber = 0;
        std::int64_t downloaded = 0;
        double rate = 0.0;
    };

    void AddOrUpdateDownload(TransferItem item) override;
    void UpdateDownloadProgress(std::int32_t fileNumber, std::int64_t downloaded,
                                double rate) override;
    void AddOrUpdateUpload(UploadItem item) override;

    std::vector<TransferItem> Downloads() const;
    std::vector<Progress> ProgressReports() const;
    std::vector<UploadItem> Uploads() const;

  private:
    mutable std::mutex mutex_;
    std::vector<TransferItem> downloads_;
    std::vector<Progress> progress_;
    std::vector<UploadItem> uploads_;
};

}  // namespace korvana
