#include "tools/sim/web/SimArchive.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "util/AsciiCase.h"

namespace korvana::sim {
namespace {

using Json = nlohmann::json;

constexpr std::string_view kAudioOnly = " AND mediatype:(audio)";
// 128 kbit/s: 16,000 bytes a second.
constexpr double kBytesPerSecond = 16000.0;

std::string Extension(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string::npos ? std::string() : fileName.substr(dot);
}

// The artists with a matching track, in catalogue order, each once.
std::vector<std::string> MatchingArtists(const std::vector<SimTrack>& catalogue,
                                         std::string_view terms) {
    std::vector<std::string> artists;
    for (const SimTrack& track : catalogue) {
        if (Matches(track, terms, MatchField::ArtistAndTitle) &&
            std::find(artists.begin(), artists.end(), track.artist) == artists.end()) {
            artists.push_back(track.artist);
        }
    }
    return artists;
}

}  // namespace

std::string ArchiveIdentifier(std::string_view artist) {
    std::string identifier = AsciiLowered(artist);
    std::replace(identifier.begin(), identifier.end(), ' ', '-');
    return identifier;
}

std::string ArchiveFileName(const SimTrack& track) {
    return track.title + Extension(track.fileName);
}

std::string ArchiveSearchAnswer(const std::vector<SimTrack>& catalogue, std::string_view query,
                                int rows, int page) {
    if (query.ends_with(kAudioOnly)) {
        query.remove_suffix(kAudioOnly.size());
    }
    const std::vector<std::string> artists = MatchingArtists(catalogue, query);
    const std::size_t first = static_cast<std::size_t>(std::max(page - 1, 0)) *
                              static_cast<std::size_t>(std::max(rows, 0));
    Json docs = Json::array();
    for (std::size_t i = first; i < artists.size() && i < first + static_cast<std::size_t>(rows);
         ++i) {
        docs.push_back({{"identifier", ArchiveIdentifier(artists[i])},
                        {"title", "Songs of " + artists[i]},
                        {"creator", artists[i]}});
    }
    const Json answer = {
        {"responseHeader", {{"status", 0}}},
        {"response", {{"numFound", artists.size()}, {"start", first}, {"docs", docs}}}};
    return answer.dump();
}

std::optional<std::string> ArchiveMetadataAnswer(const std::vector<SimTrack>& catalogue,
                                                 std::string_view identifier) {
    Json files = Json::array();
    for (const SimTrack& track : catalogue) {
        if (ArchiveIdentifier(track.artist) != identifier) {
            continue;
        }
        const bool mp3 = Extension(track.fileName) == ".mp3";
        files.push_back(
            {{"name", ArchiveFileName(track)},
             {"format", mp3 ? "VBR MP3" : "Windows Media Audio"},
             {"size", std::to_string(track.size)},
             {"length", std::to_string(static_cast<double>(track.size) / kBytesPerSecond)},
             {"title", track.title},
             {"creator", track.artist},
             {"album", "Songs of " + track.artist}});
    }
    if (files.empty()) {
        return std::nullopt;
    }
    files.push_back({{"name", "cover.jpg"}, {"format", "JPEG"}, {"size", "2048"}});
    return Json{{"files", files}}.dump();
}

std::string CatalogueJsonAnswer(const std::vector<SimTrack>& catalogue, std::string_view terms) {
    Json tracks = Json::array();
    for (const SimTrack& track : catalogue) {
        if (Matches(track, terms, MatchField::ArtistAndTitle)) {
            tracks.push_back({{"title", track.artist + " - " + track.title},
                              {"url", "/files/" + PercentEncodePath(track.fileName)},
                              {"bytes", track.size}});
        }
    }
    return Json{{"tracks", tracks}}.dump();
}

const SimTrack* ArchiveDownloadTrack(const std::vector<SimTrack>& catalogue,
                                     std::string_view identifier, std::string_view name) {
    const auto found = std::find_if(catalogue.begin(), catalogue.end(), [&](const SimTrack& t) {
        return ArchiveIdentifier(t.artist) == identifier && ArchiveFileName(t) == name;
    });
    return found == catalogue.end() ? nullptr : &*found;
}

}  // namespace korvana::sim
