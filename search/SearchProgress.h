#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "web/WebResultSink.h"

namespace korvana {

// Where one web engine stands in one search. An engine may run as several
// tasks (a result page, then a detail page per entry); it runs while any of
// them does, and its count and first failure gather all of them.
enum class EngineState { Running, Done, Failed };

struct EngineProgress {
    std::string name;
    EngineState state = EngineState::Running;
    int tasksRunning = 0;
    std::int32_t found = 0;
    std::string failure{};  // why it failed; empty otherwise
};

// The engines of one search, in the order they started.
class EngineProgressList {
  public:
    void TaskStarted(std::string_view engine);
    void TaskEnded(std::string_view engine, const EngineTaskOutcome& outcome);

    const std::vector<EngineProgress>& Engines() const { return engines_; }
    bool AnyRunning() const;

  private:
    EngineProgress& Named(std::string_view engine);

    std::vector<EngineProgress> engines_;
};

// The core's part of a search, as far as the program can tell: the core
// keeps answering a search for as long as it stays open.
enum class CorePart { NotConnected, Searching, Stopped };

struct SearchProgress {
    CorePart core = CorePart::Searching;
    std::int32_t coreResults = 0;
    std::int32_t shownResults = 0;
    std::vector<EngineProgress> engines;

    bool WebRunning() const;
};

// One piece of the progress line per part: "Core: searching, 12 results",
// "Engine 2: running", "Internet Archive: done, 4 found", "Engine 3: failed
// (no page could be fetched)".
std::vector<std::string> ProgressPieces(const SearchProgress& progress);

// What the list area says while it shows no row: "Searching..." while a web
// engine still runs, "No results" once they are done, and a word on the
// filter when it hides every result.
std::string EmptyListText(const SearchProgress& progress, bool filtered);

// A search whose engines are all done and which has nothing to show: its tab
// shows the count 0 rather than no count.
bool EndedEmpty(const SearchProgress& progress);

}  // namespace korvana
