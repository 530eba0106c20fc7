#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/sim/web/SimWebCatalogue.h"

namespace korvana::sim {

// The HTML pages of the three simulated engines, with the markers, paging and
// next-page marks that the front end's scrapers look for.

inline constexpr long kEngine1PageSize = 10;
inline constexpr long kEngine3PageSize = 5;

// A catalogue entry as listed: its id on the engines' detail pages (1-based
// catalogue position) and the track.
struct SimListing {
    int id = 0;
    const SimTrack* track = nullptr;
};

// The address a file is served at: `selfUrl` + "/files/" + the encoded name.
std::string FileUrl(std::string_view selfUrl, const SimTrack& track);

// The first engine's result page for results `first` to `first` + 9 of
// `matches`, with its "Showing Results" line, one "class=\"sm\"" table per
// result (file links percent-encoded as that engine does) and a "Next" that
// links on only when more results follow.
std::string Engine1ResultPage(const std::vector<SimListing>& matches, std::string_view term,
                              long first, std::string_view selfUrl);

// The second engine's single result page: one "dsong.aspx" link per match.
std::string Engine2ResultPage(const std::vector<SimListing>& matches);

// The second engine's detail page with its "Download : <a href=" link.
std::string Engine2DetailPage(const SimListing& listing, std::string_view selfUrl);

// Page `page` of the third engine's listing; a page that lists anything
// carries the "<b>Next Page" mark, the first empty page does not.
std::string Engine3ResultPage(const std::vector<SimListing>& matches, std::string_view artist,
                              std::string_view title, long page);

// The third engine's detail page with its "Download Now" anchor.
std::string Engine3DetailPage(const SimListing& listing, std::string_view selfUrl);

}  // namespace korvana::sim
