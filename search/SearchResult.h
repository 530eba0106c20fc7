#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/CoreResult.h"

namespace korvana {

// How far a web result's size probe has come. Only moves forward:
// New -> Probing -> SizeKnown or Failed.
enum class ProbeState : std::uint8_t { New = 0, SizeKnown = 1, Failed = 2, Probing = 3 };

// Where a web result's file is: the name the engine made and the file's URL,
// and what the engine told of it for the Info column (a length), if anything.
struct WebLocation {
    static constexpr std::size_t kMaxInfo = 63;

    std::string name;
    std::string link;
    std::string info{};
    // The artist, title and album the engine told, as PooledResult::Tags
    // holds them; empty when it told none.
    std::string tags{};
};

// One result of one search, from the core or from a web engine, kept by its
// search; a search of 100,000 results holds as many of these, so they stay
// small. Everything but `size` and
// `probe` is fixed once the model has accepted the result; those two change
// only under the model's lock, when a web result's probe reports.
struct SearchResult {
    static constexpr std::size_t kMaxName = 511;

    // Core results: the core link's record, shared with its pool.
    std::shared_ptr<const PooledResult> core;
    // Web results only.
    std::unique_ptr<const WebLocation> web;
    // Core results: the network's name, held by the model.
    const std::string* network = nullptr;
    // Bytes. Web results: 0 until the probe learns it.
    std::int64_t size = 0;
    std::int32_t searchId = 0;
    ProbeState probe = ProbeState::New;
    bool fromCore = false;

    std::string_view Name() const { return core ? core->name : std::string_view(web->name); }
    // What the filter matches beside the name.
    std::string_view Tags() const { return core ? core->Tags() : std::string_view(web->tags); }
    // A web result's link; empty for a core result.
    const std::string& Link() const {
        static const std::string kNone;
        return web ? web->link : kNone;
    }
};

}  // namespace korvana
