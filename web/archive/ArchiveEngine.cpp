#include "web/archive/ArchiveEngine.h"

#include "web/PageFetcher.h"
#include "web/WebResultSink.h"
#include "web/archive/ArchiveAnswers.h"

namespace korvana {
namespace {

enum class Step { Go, Stop, Overran };

Step Check(const PageFetcher& fetcher, const WebResultSink& sink, int searchId) {
    if (fetcher.LastFetchOverran()) {
        return Step::Overran;
    }
    return fetcher.Stopping() || sink.IsSearchStopped(searchId) ? Step::Stop : Step::Go;
}

Step ListItem(PageFetcher& fetcher, WebResultSink& sink, const std::string& base, int searchId,
              const ArchiveItem& item) {
    const std::string answer =
        fetcher.FetchWithSystemHttp(ArchiveMetadataUrl(base, item.identifier));
    if (const Step step = Check(fetcher, sink, searchId); step != Step::Go) {
        return step;
    }
    for (const ArchiveFile& file : ReadArchiveFiles(answer).value_or(std::vector<ArchiveFile>{})) {
        KnownWebResult result{ArchiveDownloadUrl(base, item.identifier, file.name),
                              ArchiveResultName(file), file.size, ArchiveLengthText(file),
                              // A file without its own creator is by the item's.
                              file.creator.empty() ? item.creator : file.creator, file.title,
                              file.album};
        if (file.size < 0) {
            // No size given: the result waits for its probe like the others.
            sink.AddWebResult(searchId, result.link, result.name, WebEngineId::Archive);
        } else {
            sink.AddKnownWebResult(searchId, result, WebEngineId::Archive);
        }
    }
    return Step::Go;
}

}  // namespace

bool ArchiveEngineTask(PageFetcher& fetcher, WebResultSink& sink, const std::string& base,
                       int searchId, const std::string& term, ArchiveSearchLimits limits) {
    int itemsListed = 0;
    for (int pageNumber = 1; pageNumber <= limits.maxPages; ++pageNumber) {
        const std::string answer =
            fetcher.FetchWithSystemHttp(ArchiveSearchUrl(base, term, pageNumber));
        if (const Step step = Check(fetcher, sink, searchId); step != Step::Go) {
            return step == Step::Stop;
        }
        const std::optional<ArchiveSearchPage> page = ReadArchiveSearch(answer);
        if (!page || page->items.empty()) {
            return true;
        }
        for (const ArchiveItem& item : page->items) {
            if (itemsListed++ == limits.maxItems) {
                return true;
            }
            if (const Step step = ListItem(fetcher, sink, base, searchId, item); step != Step::Go) {
                return step == Step::Stop;
            }
        }
        if (page->start + static_cast<std::int64_t>(page->items.size()) >= page->numFound) {
            return true;
        }
    }
    return true;
}

}  // namespace korvana
