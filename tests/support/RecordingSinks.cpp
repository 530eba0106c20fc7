#include "tests/support/RecordingSinks.h"

#include <utility>

namespace korvana {

void RecordingResultSink::AddSearch(std::int32_t searchId) {
    std::lock_guard lock(mutex_);
    searches_.insert(searchId);
}

void RecordingResultSink::AddCoreResult(std::shared_ptr<const PooledResult> result,
                                        std::int32_t searchId, std::string_view network) {
    std::lock_guard lock(mutex_);
    if (searches_.count(searchId) > 0) {
        results_.push_back({searchId, std::move(result), std::string(network)});
    }
}

std::vector<RecordingResultSink::Handed> RecordingResultSink::Results() const {
    std::lock_guard lock(mutex_);
    std::vector<Handed> copies;
    copies.reserve(results_.size());
    for (const Kept& kept : results_) {
        const PooledResult& result = *kept.result;
        copies.push_back(Handed{kept.searchId, result.resultId, result.networkNumber,
                                std::string(result.name), result.size, result.sources,
                                result.bitrate, kept.network});
    }
    return copies;
}

void RecordingTransferSink::AddOrUpdateDownload(TransferItem item) {
    std::lock_guard lock(mutex_);
    downloads_.push_back(std::move(item));
}

void RecordingTransferSink::UpdateDownloadProgress(std::int32_t fileNumber, std::int64_t downloaded,
                                                   double rate) {
    std::lock_guard lock(mutex_);
    progress_.push_back({fileNumber, downloaded, rate});
}

void RecordingTransferSink::AddOrUpdateUpload(UploadItem item) {
    std::lock_guard lock(mutex_);
    uploads_.push_back(std::move(item));
}

std::vector<TransferItem> RecordingTransferSink::Downloads() const {
    std::lock_guard lock(mutex_);
    return downloads_;
}

std::vector<RecordingTransferSink::Progress> RecordingTransferSink::ProgressReports() const {
    std::lock_guard lock(mutex_);
    return progress_;
}

std::vector<UploadItem> RecordingTransferSink::Uploads() const {
    std::lock_guard lock(mutex_);
    return uploads_;
}

}  // namespace korvana
