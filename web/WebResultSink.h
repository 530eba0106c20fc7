#pragma once

#include <cstdint>
#include <string>

namespace korvana {

// Which web engine found a result.
enum class WebEngineId { Engine1 = 1, Engine2 = 2, Engine3 = 3, Archive = 4, Defined = 5 };

// A web result whose source told its size, so it needs no size probe.
struct KnownWebResult {
    std::string link;
    std::string name;
    std::int64_t size = 0;
    // What the list's Info column shows, such as the length "3:35".
    std::string info;
    // What the source told of the song, for the list's filter; each may be
    // empty.
    std::string artist{};
    std::string title{};
    std::string album{};
};

// How one task of a web engine ended for a search: the results it handed
// over, and why it failed (empty when it did not).
struct EngineTaskOutcome {
    std::int32_t found = 0;
    std::string failure;
};

// The search result model as the web engines see it. The engines call it from
// their worker threads, several at once; it must be thread-safe.
class WebResultSink {
  public:
    virtual ~WebResultSink() = default;

    // A search is starting: create its record so that results can be bound to
    // it. Called once per search on the thread that starts it, before any of
    // its engines runs.
    virtual void OpenSearch(int searchId) = 0;

    // One result found by `engine`: the file's link and the name to show and
    // save it under. Always accepted; the model drops results of a stopped,
    // removed or unknown search and links it already lists (letter case
    // aside) by itself. Returns true.
    virtual bool AddWebResult(int searchId, const std::string& link, const std::string& name,
                              WebEngineId engine) = 0;

    // A result whose size is known: listed complete at once. A sink that
    // cannot take a known size has it probed like any other.
    virtual bool AddKnownWebResult(int searchId, const KnownWebResult& result, WebEngineId engine) {
        return AddWebResult(searchId, result.link, result.name, engine);
    }

    // True when the search has been stopped or removed, or does not exist.
    virtual bool IsSearchStopped(int searchId) const = 0;

    // One task of `engine` ("Engine 2", "Internet Archive") for the search
    // was queued, and how it ended. A sink that shows no progress ignores
    // them.
    virtual void EngineTaskStarted(int /*searchId*/, const std::string& /*engine*/) {}
    virtual void EngineTaskEnded(int /*searchId*/, const std::string& /*engine*/,
                                 const EngineTaskOutcome& /*outcome*/) {}
};

}  // namespace korvana
