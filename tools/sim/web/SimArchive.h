#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/sim/web/SimWebCatalogue.h"

namespace korvana::sim {

// The catalogue as the Internet Archive would show it: one audio item per
// artist, identified by the artist's name in small letters with dashes, whose
// files are the artist's tracks (an item's ".wma" is listed in a format
// that is not MP3, and every item has a cover image, so that readers must
// pick the MP3 files).

// The item an artist's tracks belong to: "The Loopbacks" -> "the-loopbacks".
std::string ArchiveIdentifier(std::string_view artist);

// The answer of "/advancedsearch.php": the items with a track whose artist
// and title contain the query's terms (the query's " AND mediatype:(audio)"
// is not part of them), `rows` per page, pages from 1.
std::string ArchiveSearchAnswer(const std::vector<SimTrack>& catalogue, std::string_view query,
                                int rows, int page);

// The answer of "/metadata/<identifier>"; none for an unknown item.
std::optional<std::string> ArchiveMetadataAnswer(const std::vector<SimTrack>& catalogue,
                                                 std::string_view identifier);

// The track "/download/<identifier>/<name>" (decoded) serves; none when the
// item has no such file.
const SimTrack* ArchiveDownloadTrack(const std::vector<SimTrack>& catalogue,
                                     std::string_view identifier, std::string_view name);

// The answer of "/catalogue.json?q=<terms>", a plain JSON listing for
// engines users define: {"tracks":[{"title":…,"url":"/files/…","bytes":N}]}.
std::string CatalogueJsonAnswer(const std::vector<SimTrack>& catalogue, std::string_view terms);

// The file name a track has inside its item: the title and the extension.
std::string ArchiveFileName(const SimTrack& track);

}  // namespace korvana::sim
