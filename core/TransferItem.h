#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>

namespace korvana {

// What a download is known by: a core download by the core's file number, a
// web download by its link. The kind is part of the key, so core file 7 and
// a link that reads "7" are two downloads, and core file 0 is a core
// download. A key made by default is the empty link.
class TransferKey {
  public:
    TransferKey() = default;
    static TransferKey Core(std::int32_t fileNumber) {
        TransferKey key;
        key.core_ = true;
        key.fileNumber_ = fileNumber;
        return key;
    }
    static TransferKey Web(std::string link) {
        TransferKey key;
        key.link_ = std::move(link);
        return key;
    }

    bool IsCore() const { return core_; }
    // 0 for a web download.
    std::int32_t FileNumber() const { return fileNumber_; }
    // Empty for a core download.
    const std::string& Link() const { return link_; }
    // As the downloads list's hidden Link column shows it: the file number
    // in decimal, or the link.
    std::string Text() const { return core_ ? std::to_string(fileNumber_) : link_; }

    friend bool operator==(const TransferKey&, const TransferKey&) = default;

  private:
    bool core_ = false;
    std::int32_t fileNumber_ = 0;
    std::string link_;
};

// One download, from the core or from the web.
struct TransferItem {
    static constexpr std::size_t kMaxName = 511;
    // The longest link kept as a web download's key.
    static constexpr std::size_t kMaxKey = 511;

    std::string name;
    TransferKey key;
    std::int64_t downloaded = 0;
    std::int64_t size = 0;
    bool cancelled = false;
    std::int32_t errorCode = 0;
    std::time_t startTime = 0;
    std::time_t finishTime = 0;
    bool contacting = false;
    // Bytes per second as the core reports it.
    float rate = 0.0f;
    // The core's file state: 0 downloading, 1 paused, 2 downloaded, 3 shared,
    // 4 cancelled, 5 new, 6 aborted, 7 queued.
    std::uint8_t coreState = 0;
    // Where a finished web download's file was saved; empty otherwise.
    std::filesystem::path savedFile;
};

// One shared file that the core reports as uploading.
struct UploadItem {
    static constexpr std::size_t kMaxName = 511;

    std::int32_t fileNumber = 0;
    std::string name;
    std::int64_t uploaded = 0;
    std::int32_t requests = 0;
    std::time_t lastUpdate = 0;
};

}  // namespace korvana

template <>
struct std::hash<korvana::TransferKey> {
    std::size_t operator()(const korvana::TransferKey& key) const noexcept {
        return key.IsCore() ? std::hash<std::int32_t>()(key.FileNumber())
                            : std::hash<std::string>()(key.Link());
    }
};
