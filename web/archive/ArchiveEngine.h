#pragma once

#include <string>

namespace korvana {

class PageFetcher;
class WebResultSink;

// How much one search may ask of the archive: search pages, and items whose
// file lists are fetched. A search for a common word finds thousands of
// items; the first ones are the most relevant.
struct ArchiveSearchLimits {
    int maxPages = 4;
    int maxItems = 60;
};

// The Internet Archive engine for one search: the audio items matching
// `term`, page by page through the system HTTP library (https with its
// certificate checked), then each item's file list; every MP3 file becomes a
// result with its size known, named after its file and showing its length.
// Ends early when the search is stopped, the program stops, or a fetch ran
// out of time (then false, as the other engines do).
bool ArchiveEngineTask(PageFetcher& fetcher, WebResultSink& sink, const std::string& base,
                       int searchId, const std::string& term, ArchiveSearchLimits limits = {});

}  // namespace korvana
