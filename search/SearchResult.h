#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/CoreResult.h"

namespace korvana {

// How far a web result's size probe has come. Only moves forward:
// New -> Probing -> SizeKnown or Failed.
enum class ProbeState : std::int32_t { New = 0, SizeKnown = 1, Failed = 2, Probing = 3 };

// One result of one search, from the core or from a web engine. The model
// keeps every result for its own lifetime. Everything but `size` and `probe`
// is fixed once the model has accepted the result; those two change only
// under the model's lock, when a web result's probe reports.
struct SearchResult {
    static constexpr std::size_t kMaxName = 511;

    std::int32_t searchId = 0;
    bool fromCore = false;
    // Core results: the core's record, shared with the core link's pool.
    // Only its fixed fields are read here.
    std::shared_ptr<const CoreResult> core;
    // Web results: the name the engine made and the file's URL.
    std::string name;
    std::string link;
    // Core results: the network's name, the "availability" tag (1 when
    // absent) and the "bitrate" tag (0 when absent).
    std::string network;
    std::int32_t sources = 1;
    std::int32_t bitrate = 0;
    // Bytes. Web results: 0 until the probe learns it.
    std::int64_t size = 0;
    ProbeState probe = ProbeState::New;

    const std::string& Name() const { return core ? core->name : name; }
};

}  // namespace korvana
