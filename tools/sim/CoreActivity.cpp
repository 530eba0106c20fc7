// The time-driven side of the simulated core: download progress, download
// updates, simulated uploads and client statistics.
#include <algorithm>

#include "tools/sim/CoreState.h"

namespace korvana::sim {

namespace {

// What one simulated peer takes from a shared file each second.
constexpr std::uint64_t kUploadStep = 8192;

}  // namespace

SharedFileInfo DescribeShared(const SharedFile& file) {
    // Shared files are offered on the eDonkey network, as a real core does.
    constexpr std::int32_t kSharingNetwork = 3;
    return {file.number, kSharingNetwork, file.name, file.size, file.uploaded, file.requests};
}

void CoreState::Tick(SimClock::time_point now) {
    const std::chrono::duration<double> elapsed = now - lastTick_;
    lastTick_ = now;
    if (elapsed.count() > 0) {
        for (std::int32_t number : downloads_.Advance(elapsed.count(), setup_.downloadRate)) {
            Complete(number);
        }
    }
    if (now >= nextUpdate_) {
        nextUpdate_ = now + kUpdateInterval;
        SendUpdates();
        StepUploads();
    }
    if (setup_.periodicStats && now >= nextStats_) {
        nextStats_ = now + kStatsInterval;
        audience_.Broadcast(Stats());
    }
}

void CoreState::SendUpdates() {
    for (const Download& download : downloads_.All()) {
        if (download.state == FileState::kDownloading) {
            audience_.Broadcast(EncodeDownloadUpdate(Describe(download)));
        }
    }
}

// One shared file at a time, in turn, is being uploaded to someone.
void CoreState::StepUploads() {
    std::vector<SharedFile>& files = shares_.Files();
    uploadRate_ = 0;
    if (files.empty()) {
        return;
    }
    SharedFile& file = files[uploadCursor_++ % files.size()];
    const std::uint64_t step = kUploadStep * (1 + uploadCursor_ % 5);
    file.uploaded += step;
    file.requests += 1;
    uploadedTotal_ += step;
    uploadRate_ = static_cast<std::int32_t>(step);
    audience_.Broadcast(EncodeSharedFileUpload(DescribeShared(file)));
}

std::vector<GuiMessage> CoreState::UploadStats() const {
    std::vector<GuiMessage> messages;
    for (const SharedFile& file : shares_.Files()) {
        messages.push_back(EncodeSharedFileUpload(DescribeShared(file)));
    }
    return messages;
}

GuiMessage CoreState::Stats() const {
    ClientStats stats;
    stats.uploaded = uploadedTotal_;
    for (const SharedFile& file : shares_.Files()) {
        stats.sharedBytes += file.size;
    }
    stats.sharedFiles = static_cast<std::int32_t>(shares_.Files().size());
    stats.uploadRate = uploadRate_;
    for (const Download& download : downloads_.All()) {
        stats.downloaded += download.downloaded;
        const FileState state = download.state;
        if (state == FileState::kDownloading) {
            stats.downloadRate += static_cast<std::int32_t>(
                std::min<std::int64_t>(setup_.downloadRate, 0x7FFFFFFF - stats.downloadRate));
        }
        if (state == FileState::kDownloading || state == FileState::kPaused ||
            state == FileState::kNew) {
            ++stats.downloadingFiles;
        } else if (state == FileState::kDownloaded) {
            ++stats.downloadedFiles;
        }
    }
    for (const NetworkDefinition& network : Networks()) {
        stats.servers.emplace_back(network.number,
                                   options_.NetworkEnabled(network) ? network.servers : 0);
    }
    return EncodeClientStats(stats);
}

}  // namespace korvana::sim
