#include <cstddef>
#include <cstdint>
#include <span>
#include <variant>

#include "tools/sim/Catalogue.h"
#include "tools/sim/GuiRequests.h"
#include "tools/sim/QueryMatch.h"

// Whatever a front end sends, the simulated core decodes it into a request or
// Unreadable, and a decoded search can be matched against the catalogue.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto request = korvana::sim::DecodeRequest(std::span(data, size));
    if (const auto* search = std::get_if<korvana::sim::SearchQuery>(&request)) {
        korvana::sim::QueryMatches(search->query, korvana::sim::GeneratedEntry(0), 1);
    }
    return 0;
}
