#include "tools/sim/web/SimEnginePages.h"

#include <algorithm>

namespace korvana::sim {
namespace {

// Names are shown as they are; only characters that would break the markup
// around them are left out.
std::string Shown(std::string_view text) {
    std::string shown;
    for (char c : text) {
        if (c != '<' && c != '>' && c != '"') {
            shown += c;
        }
    }
    return shown;
}

std::string Label(const SimTrack& track) {
    return Shown(track.artist + " - " + track.title);
}

std::string WithCommas(long value) {
    std::string digits = std::to_string(value);
    for (long at = static_cast<long>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return digits;
}

// The first engine hands out its file links percent-encoded, "%" included.
std::string Engine1Link(std::string_view url) {
    std::string encoded;
    for (char c : url) {
        switch (c) {
            case '%':
                encoded += "%25";
                break;
            case ':':
                encoded += "%3A";
                break;
            case '/':
                encoded += "%2F";
                break;
            default:
                encoded += c;
        }
    }
    return encoded;
}

std::string Engine1Query(std::string_view term, long first) {
    return "/ot_agree.asp?query=" + PercentEncodePath(term) + "&first=" + std::to_string(first) +
           "&pmore=more&tab=multi&cat=audio&adf=&agree=1";
}

}  // namespace

std::string FileUrl(std::string_view selfUrl, const SimTrack& track) {
    return std::string(selfUrl) + "/files/" + PercentEncodePath(track.fileName);
}

std::string Engine1ResultPage(const std::vector<SimListing>& matches, std::string_view term,
                              long first, std::string_view selfUrl) {
    const long total = static_cast<long>(matches.size());
    const long from = std::max(first, 1L);
    const long to = std::min(from + kEngine1PageSize - 1, total);
    std::string page =
        "<html><head><title>Audio search</title></head><body>\n"
        "<div class=\"nav\"><a href=\"/\" title=\"\">Home</a> | Audio</div>\n"
        "<table width=\"100%\"><tr><td><font size=\"-1\">Showing Results <b>";
    page +=
        from <= to ? std::to_string(from) + " thru " + std::to_string(to) : std::string("0 thru 0");
    page += "</b> of " + WithCommas(total) + " (<a href=\"/help.html\">help</a>)</font></td></tr>";
    page += "</table>\n";
    for (long i = from; i <= to; ++i) {
        const SimTrack& track = *matches[static_cast<std::size_t>(i - 1)].track;
        const std::string link = Engine1Link(FileUrl(selfUrl, track));
        page += "<table class=\"sm\" width=\"100%\"><tr><td><a href=\"" + link +
                "\"><img src=\"/note.gif\" border=\"0\"></a></td>\n<td><a href=\"" + link +
                "\" title=\"\">" + Label(track) + "</a><br>" + std::to_string(track.size) +
                " bytes</td></tr></table>\n";
    }
    if (to < total) {
        page += "<p><a href=\"" + Engine1Query(term, from + kEngine1PageSize) +
                "\"><b>Next</b></a></p>\n";
    } else {
        page += "<p><b>Next</b></p>\n";
    }
    page += "</body></html>\n";
    return page;
}

std::string Engine2ResultPage(const std::vector<SimListing>& matches) {
    std::string page =
        "<html><head><title>MP3 search results</title></head><body>\n<table id=\"results\">\n";
    for (const SimListing& listing : matches) {
        page += "<tr><td><a href=\"dsong.aspx?id=" + std::to_string(listing.id) +
                "&amp;from=list\">" + Label(*listing.track) + "</a></td><td>" +
                std::to_string(listing.track->size) + "</td></tr>\n";
    }
    page += "</table>\n</body></html>\n";
    return page;
}

std::string Engine2DetailPage(const SimListing& listing, std::string_view selfUrl) {
    const SimTrack& track = *listing.track;
    return "<html><head><title>" + Label(track) + "</title></head><body>\n<h1>" + Label(track) +
           "</h1>\n<p>Size: " + std::to_string(track.size) +
           " bytes</p>\n<p>Download : <a href=\"" + FileUrl(selfUrl, track) + "\">" +
           Shown(track.fileName) + "</a></p>\n</body></html>\n";
}

std::string Engine3ResultPage(const std::vector<SimListing>& matches, std::string_view artist,
                              std::string_view title, long page) {
    const long first = (std::max(page, 1L) - 1) * kEngine3PageSize;
    const long last = std::min(first + kEngine3PageSize, static_cast<long>(matches.size()));
    std::string text = "<html><head><title>Search</title></head><body>\n<table>\n";
    for (long i = first; i < last; ++i) {
        const SimListing& listing = matches[static_cast<std::size_t>(i)];
        text += "<tr><td><a href=\"download.php?id=" + std::to_string(listing.id) + "\"><b>" +
                Label(*listing.track) + "</b></a></td><td>" + std::to_string(listing.track->size) +
                "</td></tr>\n";
    }
    text += "</table>\n";
    if (first < last) {
        text += "<a href=\"search4.php?artist=" + PercentEncodePath(artist) +
                "&title=" + PercentEncodePath(title) + "&page=" + std::to_string(page + 1) +
                "\"><b>Next Page &gt;&gt;</b></a>\n";
    }
    text += "</body></html>\n";
    return text;
}

std::string Engine3DetailPage(const SimListing& listing, std::string_view selfUrl) {
    const SimTrack& track = *listing.track;
    return "<html><head><title>" + Label(track) + "</title></head><body>\n<h1>" + Label(track) +
           "</h1>\n<p><a href=\"" + FileUrl(selfUrl, track) +
           "\">Download Now</a></p>\n</body></html>\n";
}

}  // namespace korvana::sim
