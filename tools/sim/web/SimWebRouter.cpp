#include "tools/sim/web/SimWebRouter.h"

#include <algorithm>

#include "tools/sim/web/SimArchive.h"
#include "tools/sim/web/SimEnginePages.h"
#include "util/PercentText.h"

namespace korvana::sim {
namespace {

constexpr auto npos = std::string_view::npos;

std::string StatusLine(int status) {
    std::string reason = "Status";
    switch (status) {
        case 100:
            reason = "Continue";
            break;
        case 200:
            reason = "OK";
            break;
        case 302:
            reason = "Found";
            break;
        case 404:
            reason = "Not Found";
            break;
        case 500:
            reason = "Internal Server Error";
            break;
        default:
            break;
    }
    return "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n";
}

SimReply Redirect(const std::string& location) {
    SimReply reply;
    reply.head = StatusLine(302) + "Location: " + location +
                 "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    return reply;
}

SimReply NotFound() {
    return MakeReply(404, "<html><body>Not Found</body></html>\n");
}

// "//files/x" (what a relative redirect of the search family asks for) is
// served as "/files/x".
std::string CollapseLeadingSlashes(std::string_view path) {
    std::size_t extra = 0;
    while (extra + 1 < path.size() && path[extra] == '/' && path[extra + 1] == '/') {
        ++extra;
    }
    return std::string(path.substr(extra));
}

std::uint64_t LeadingNumber(std::string_view text, std::uint64_t fallback) {
    std::uint64_t value = 0;
    std::size_t digits = 0;
    for (; digits < text.size() && digits < 13 && text[digits] >= '0' && text[digits] <= '9';
         ++digits) {
        value = value * 10 + static_cast<std::uint64_t>(text[digits] - '0');
    }
    return digits == 0 ? fallback : value;
}

std::vector<SimListing> Find(const std::vector<SimTrack>& catalogue, std::string_view term,
                             MatchField field) {
    std::vector<SimListing> found;
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        if (Matches(catalogue[i], term, field)) {
            found.push_back({static_cast<int>(i + 1), &catalogue[i]});
        }
    }
    return found;
}

std::map<std::string, SimReply> VendorPages() {
    std::map<std::string, SimReply> pages;
    pages["/version.txt"] = MakeReply(200, "3.0.0\r\n", "text/plain");
    pages["/dl_update.txt"] = MakeReply(200, "", "text/plain");
    pages["/Korvana.exe"] =
        MakeReply(200, "MZ" + std::string(4094, '\0'), "application/octet-stream");
    pages["/KorvanaInstall.cgi"] = MakeReply(200, "OK\n", "text/plain");
    pages["/cgi-bin/cgiemail/feedback.txt"] =
        MakeReply(200, "Thank you for your feedback.\n", "text/plain");
    pages["/modules.php"] =
        MakeReply(200, "<html><head><title>Korvana</title></head><body>Help</body></html>\n");
    return pages;
}

}  // namespace

SimReply MakeReply(int status, std::string body, std::string_view contentType) {
    SimReply reply;
    reply.head = StatusLine(status) + "Content-Type: " + std::string(contentType) +
                 "\r\nContent-Length: " + std::to_string(body.size()) +
                 "\r\nConnection: close\r\n\r\n";
    reply.body = std::move(body);
    return reply;
}

SimWebRouter::SimWebRouter(std::vector<SimTrack> catalogue)
    : catalogue_(std::move(catalogue)), overrides_(VendorPages()) {}

void SimWebRouter::SetCatalogue(std::vector<SimTrack> catalogue) {
    std::lock_guard lock(mutex_);
    catalogue_ = std::move(catalogue);
}

void SimWebRouter::SetPage(const std::string& target, std::string body, int status,
                           std::string contentType) {
    std::lock_guard lock(mutex_);
    overrides_[target] = MakeReply(status, std::move(body), contentType);
}

void SimWebRouter::SetRawResponse(const std::string& target, std::string raw) {
    std::lock_guard lock(mutex_);
    SimReply reply;
    reply.head = std::move(raw);
    overrides_[target] = std::move(reply);
}

std::optional<SimReply> SimWebRouter::Override(const std::string& target, const std::string& path) {
    std::lock_guard lock(mutex_);
    for (const std::string& key : {target, CollapseLeadingSlashes(target), path}) {
        const auto found = overrides_.find(key);
        if (found != overrides_.end()) {
            return found->second;
        }
    }
    return std::nullopt;
}

SimReply SimWebRouter::Route(const SimRequest& request, const std::string& selfUrl,
                             const SimWebFaults& faults) {
    const std::string_view target = request.target;
    const std::size_t question = target.find('?');
    const std::string plainPath = CollapseLeadingSlashes(target.substr(0, question));
    const std::string_view query =
        question == npos ? std::string_view() : target.substr(question + 1);
    const std::string path = *PercentDecoded(plainPath);
    if (auto reply = Override(request.target, path)) {
        return *reply;
    }
    if (path.starts_with("/files/") || path.starts_with("/nolength/") ||
        path.starts_with("/zerolength/") || path.starts_with("/big/")) {
        return File(path, request, faults);
    }
    if (plainPath.starts_with("/redirect/abs/")) {
        return Redirect(selfUrl + "/" + plainPath.substr(14) +
                        (query.empty() ? "" : "?" + std::string(query)));
    }
    if (plainPath.starts_with("/redirect/rel/")) {
        return Redirect("/" + plainPath.substr(14) +
                        (query.empty() ? "" : "?" + std::string(query)));
    }
    if (plainPath == "/redirect/loop") {
        return Redirect("/redirect/loop");
    }
    if (path.starts_with("/status/")) {
        const auto status = static_cast<int>(LeadingNumber(std::string_view(path).substr(8), 0));
        return status >= 100 && status <= 599
                   ? MakeReply(status, "Status " + std::to_string(status) + "\n", "text/plain")
                   : NotFound();
    }
    return RouteEngine(path, request, query, selfUrl, faults);
}

SimReply SimWebRouter::RouteEngine(const std::string& path, const SimRequest& request,
                                   std::string_view query, const std::string& selfUrl,
                                   const SimWebFaults& faults) {
    if (path == "/ot_agree.asp") {
        return Engine1(request, query, selfUrl, faults);
    }
    if (path == "/sresult.aspx") {
        const std::string term = QueryValue(
            request.method == "POST" ? std::string_view(request.body) : query, "txtSearch");
        std::lock_guard lock(mutex_);
        SimReply reply =
            MakeReply(200, Engine2ResultPage(Find(catalogue_, term, MatchField::ArtistAndTitle)));
        // Like the real server, an interim answer comes first.
        reply.head = StatusLine(100) + "\r\n" + reply.head;
        return reply;
    }
    if (path == "/dsong.aspx" || path == "/http_search/download.php") {
        return Detail(query, path == "/dsong.aspx", selfUrl);
    }
    if (path == "/http_search/search4.php") {
        return Engine3(query);
    }
    if (path == "/catalogue.json") {
        std::lock_guard lock(mutex_);
        return MakeReply(200, CatalogueJsonAnswer(catalogue_, QueryValue(query, "q")),
                         "application/json");
    }
    if (path == "/advancedsearch.php" || path.starts_with("/metadata/") ||
        path.starts_with("/download/")) {
        return Archive(path, request, query, faults);
    }
    return NotFound();
}

// The archive answers an unknown item with an empty object, not a 404.
SimReply SimWebRouter::Archive(const std::string& path, const SimRequest& request,
                               std::string_view query, const SimWebFaults& faults) {
    std::lock_guard lock(mutex_);
    if (path == "/advancedsearch.php") {
        const auto rows = static_cast<int>(
            std::clamp<std::uint64_t>(LeadingNumber(QueryValue(query, "rows"), 50), 1, 1000));
        const auto page = static_cast<int>(
            std::clamp<std::uint64_t>(LeadingNumber(QueryValue(query, "page"), 1), 1, 100000));
        return MakeReply(200, ArchiveSearchAnswer(catalogue_, QueryValue(query, "q"), rows, page),
                         "application/json");
    }
    if (path.starts_with("/metadata/")) {
        return MakeReply(200, ArchiveMetadataAnswer(catalogue_, path.substr(10)).value_or("{}"),
                         "application/json");
    }
    const std::string item = path.substr(10);
    const std::size_t slash = item.find('/');
    const SimTrack* track =
        slash == std::string::npos
            ? nullptr
            : ArchiveDownloadTrack(catalogue_, item.substr(0, slash), item.substr(slash + 1));
    return track == nullptr ? NotFound() : FileReply("/files/", track->size, request, faults);
}

SimReply SimWebRouter::Engine1(const SimRequest& request, std::string_view query,
                               const std::string& selfUrl, const SimWebFaults& faults) {
    const std::string term = QueryValue(query, "query");
    const auto first = static_cast<long>(LeadingNumber(QueryValue(query, "first"), 1));
    std::lock_guard lock(mutex_);
    std::string page =
        Engine1ResultPage(Find(catalogue_, term, MatchField::ArtistAndTitle), term, first, selfUrl);
    int& served = engine1Served_[request.target];
    if (served < faults.engine1IncompleteTimes) {
        ++served;
        page.resize(page.size() * 6 / 10);
    }
    return MakeReply(200, std::move(page));
}

SimReply SimWebRouter::Engine3(std::string_view query) {
    const std::string artist = QueryValue(query, "artist");
    const std::string title = QueryValue(query, "title");
    const auto page = static_cast<long>(LeadingNumber(QueryValue(query, "page"), 1));
    std::lock_guard lock(mutex_);
    const auto matches = artist.empty() ? Find(catalogue_, title, MatchField::Title)
                                        : Find(catalogue_, artist, MatchField::Artist);
    return MakeReply(200, Engine3ResultPage(matches, artist, title, page));
}

SimReply SimWebRouter::Detail(std::string_view query, bool engine2, const std::string& selfUrl) {
    const std::uint64_t id = LeadingNumber(QueryValue(query, "id"), 0);
    std::lock_guard lock(mutex_);
    if (id == 0 || id > catalogue_.size()) {
        return NotFound();
    }
    const SimListing listing{static_cast<int>(id), &catalogue_[id - 1]};
    return MakeReply(
        200, engine2 ? Engine2DetailPage(listing, selfUrl) : Engine3DetailPage(listing, selfUrl));
}

SimReply SimWebRouter::File(const std::string& path, const SimRequest& request,
                            const SimWebFaults& faults) {
    const std::size_t nameStart = path.find('/', 1) + 1;
    const std::string kind = path.substr(0, nameStart);
    const std::string name = path.substr(nameStart);
    std::uint64_t size = 0;
    if (kind == "/big/") {
        size = std::min<std::uint64_t>(LeadingNumber(name, 0), std::uint64_t{1} << 40);
    } else {
        std::lock_guard lock(mutex_);
        const auto track = std::find_if(catalogue_.begin(), catalogue_.end(),
                                        [&](const SimTrack& t) { return t.fileName == name; });
        if (track == catalogue_.end()) {
            return NotFound();
        }
        size = track->size;
    }
    return FileReply(kind, size, request, faults);
}

SimReply SimWebRouter::FileReply(const std::string& kind, std::uint64_t size,
                                 const SimRequest& request, const SimWebFaults& faults) {
    if (faults.redirectLoop) {
        return Redirect(request.target);
    }
    SimReply reply;
    reply.head = StatusLine(200) + "Content-Type: audio/mpeg\r\n";
    if (kind == "/zerolength/") {
        reply.head += "Content-Length: 0\r\n";
        size = 0;
    } else if (kind != "/nolength/") {
        reply.head +=
            "Content-Length: " + std::to_string(size + (faults.lyingLength ? 1000 : 0)) + "\r\n";
    }
    reply.head += "Connection: close\r\n\r\n";
    reply.generatedBytes = size;
    return reply;
}

}  // namespace korvana::sim
