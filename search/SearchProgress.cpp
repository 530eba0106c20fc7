#include "search/SearchProgress.h"

#include <algorithm>

namespace korvana {
namespace {

std::string Counted(std::int32_t count, std::string_view what) {
    return std::to_string(count) + " " + std::string(what);
}

std::string Results(std::int32_t count) {
    return Counted(count, count == 1 ? "result" : "results");
}

std::string CorePiece(const SearchProgress& progress) {
    const std::string results = Results(progress.coreResults);
    switch (progress.core) {
        case CorePart::NotConnected:
            return "Core: not connected";
        case CorePart::Searching:
            return "Core: searching, " + results;
        case CorePart::Stopped:
            return "Core: stopped, " + results;
    }
    return {};
}

std::string EnginePiece(const EngineProgress& engine) {
    switch (engine.state) {
        case EngineState::Running:
            return engine.name + ": running" +
                   (engine.found > 0 ? ", " + Counted(engine.found, "found") : std::string());
        case EngineState::Done:
            return engine.name + ": done, " + Counted(engine.found, "found");
        case EngineState::Failed:
            return engine.name + ": failed (" + engine.failure + ")" +
                   (engine.found > 0 ? ", " + Counted(engine.found, "found") : std::string());
    }
    return {};
}

}  // namespace

EngineProgress& EngineProgressList::Named(std::string_view engine) {
    const auto found = std::find_if(engines_.begin(), engines_.end(),
                                    [engine](const EngineProgress& e) { return e.name == engine; });
    if (found != engines_.end()) {
        return *found;
    }
    return engines_.emplace_back(EngineProgress{std::string(engine)});
}

void EngineProgressList::TaskStarted(std::string_view engine) {
    EngineProgress& progress = Named(engine);
    ++progress.tasksRunning;
    if (progress.state == EngineState::Done) {
        progress.state = EngineState::Running;
    }
}

// An end without its start (a task the list never heard begin) still counts
// what it found, but cannot leave a running count below zero.
void EngineProgressList::TaskEnded(std::string_view engine, const EngineTaskOutcome& outcome) {
    EngineProgress& progress = Named(engine);
    progress.tasksRunning = std::max(progress.tasksRunning - 1, 0);
    progress.found += outcome.found;
    if (!outcome.failure.empty() && progress.failure.empty()) {
        progress.failure = outcome.failure;
    }
    if (progress.tasksRunning == 0) {
        progress.state = progress.failure.empty() ? EngineState::Done : EngineState::Failed;
    }
}

bool EngineProgressList::AnyRunning() const {
    return std::any_of(engines_.begin(), engines_.end(),
                       [](const EngineProgress& e) { return e.tasksRunning > 0; });
}

bool SearchProgress::WebRunning() const {
    return std::any_of(engines.begin(), engines.end(),
                       [](const EngineProgress& e) { return e.tasksRunning > 0; });
}

std::vector<std::string> ProgressPieces(const SearchProgress& progress) {
    std::vector<std::string> pieces{CorePiece(progress)};
    for (const EngineProgress& engine : progress.engines) {
        pieces.push_back(EnginePiece(engine));
    }
    return pieces;
}

std::string EmptyListText(const SearchProgress& progress, bool filtered) {
    if (filtered && progress.shownResults > 0) {
        return "No results match the filter";
    }
    return progress.WebRunning() ? "Searching..." : "No results";
}

bool EndedEmpty(const SearchProgress& progress) {
    return progress.shownResults == 0 && !progress.WebRunning();
}

}  // namespace korvana
