#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace korvana {

// One download, from the core or from the web. A core download's key is its
// file number in decimal; a web download's key is its link.
struct TransferItem {
    static constexpr std::size_t kMaxName = 511;
    static constexpr std::size_t kMaxKey = 511;

    std::string name;
    std::string key;
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
