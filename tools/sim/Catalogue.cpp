#include "tools/sim/Catalogue.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>

namespace korvana::sim {
namespace {

constexpr std::array kArtists = {
    "The Velvet Foxes", "Luna Harbor",      "Marching Owls",     "Copper Sky",    "Nina Calder",
    "Static Orchard",   "Paper Lanterns",   "The Night Ferries", "Oskar Lind",    "Blue Quarry",
    "Hollow Pines",     "Amber Vale",       "The Salt Choir",    "Mira Santos",   "Electric Meadow",
    "Glass Harbour",    "Northbound Train", "Ivy & The Wires",   "Dune Radio",    "Felix Moreau",
    "Silver Tides",     "The Lantern Club", "Rosa Delmar",       "Quiet Engines", "Cedar Lane",
    "Violet Static",    "Harbor Lights",    "The Crane Wives",   "Jonah Wilde",   "Midnight Atlas",
};

constexpr std::array kTitleStarts = {
    "Summer",  "Midnight", "Electric", "Golden",  "Broken",  "Silver", "Paper",  "Falling",
    "Distant", "Wild",     "Quiet",    "Burning", "Endless", "Lonely", "Neon",   "Velvet",
    "Crystal", "Hidden",   "Little",   "Last",    "Dancing", "Sweet",  "Stolen", "Northern",
};

constexpr std::array kTitleEnds = {
    "Love",  "Rain",   "Heart",  "Road",  "Dreams", "Light",   "River", "Fire",
    "Night", "Song",   "Stars",  "Waves", "Memory", "Garden",  "Train", "Sky",
    "Radio", "Shadow", "Letter", "Ocean", "Window", "Morning", "Home",  "Echo",
};

constexpr std::array kAlbums = {
    "First Light",  "Long Way Home",     "Greatest Hits", "Live at the Harbor",
    "Afterglow",    "Northern Sessions", "Paper Moon",    "Open Roads",
    "Static Bloom", "B-Sides",           "Night Drive",   "Second Nature",
};

constexpr std::array kBitrates = {128, 160, 192, 192, 256, 320};

// A fixed mixing function (splitmix64) so the generated catalogue is the same
// on every run and every machine.
std::uint64_t Mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

template <typename Array>
auto Pick(const Array& values, std::uint64_t& state) {
    state = Mix(state);
    return values[state % values.size()];
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    while (fields.size() < 8) {
        const std::size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) {
            break;
        }
        line.remove_prefix(tab + 1);
    }
    return fields;
}

int FieldNumber(const std::vector<std::string_view>& fields, std::size_t i, int low, int high,
                int fallback) {
    if (i >= fields.size()) {
        return fallback;
    }
    int value = 0;
    const std::string_view text = fields[i];
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size()) {
        return fallback;
    }
    return std::clamp(value, low, high);
}

// Keeps printable bytes only: a field goes into names, tags and file names.
std::string CleanField(std::string_view text) {
    std::string clean;
    for (char c : text.substr(0, kMaxField)) {
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
            clean += c;
        }
    }
    return clean;
}

std::optional<CatalogueEntry> ParseLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (line.empty() || line.front() == '#') {
        return std::nullopt;
    }
    const std::vector<std::string_view> fields = SplitTabs(line);
    CatalogueEntry entry;
    entry.artist = CleanField(fields[0]);
    entry.title = fields.size() > 1 ? CleanField(fields[1]) : "";
    if (entry.artist.empty() || entry.title.empty()) {
        return std::nullopt;
    }
    entry.album = fields.size() > 2 ? CleanField(fields[2]) : "";
    entry.bitrate = FieldNumber(fields, 3, 32, 320, 128);
    entry.seconds = FieldNumber(fields, 4, 1, 1200, 180);
    entry.availability = FieldNumber(fields, 5, 1, 1000, 5);
    return entry;
}

}  // namespace

std::string EntryName(const CatalogueEntry& entry) {
    return entry.artist + " - " + entry.title + ".mp3";
}

CatalogueEntry GeneratedEntry(std::size_t seed) {
    std::uint64_t state = seed * 0x100000001B3ULL + 17;
    CatalogueEntry entry;
    entry.artist = Pick(kArtists, state);
    entry.title = std::string(Pick(kTitleStarts, state)) + " " + Pick(kTitleEnds, state);
    entry.album = Pick(kAlbums, state);
    state = Mix(state);
    entry.year = std::to_string(1960 + state % 45);
    entry.bitrate = Pick(kBitrates, state);
    state = Mix(state);
    entry.seconds = 120 + static_cast<int>(state % 240);
    state = Mix(state);
    entry.availability = 1 + static_cast<int>(state % 60);
    return entry;
}

Catalogue::Catalogue(std::size_t generatedCount, std::vector<CatalogueEntry> listed)
    : listed_(std::move(listed)), generatedCount_(generatedCount) {}

CatalogueEntry Catalogue::At(std::size_t index) const {
    if (index < listed_.size()) {
        return listed_[index];
    }
    return GeneratedEntry(index - listed_.size());
}

std::vector<CatalogueEntry> ParseCatalogueText(std::string_view text) {
    std::vector<CatalogueEntry> entries;
    while (!text.empty() && entries.size() < kMaxListed) {
        const std::size_t end = text.find('\n');
        if (std::optional<CatalogueEntry> entry = ParseLine(text.substr(0, end))) {
            entries.push_back(std::move(*entry));
        }
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return entries;
}

}  // namespace korvana::sim
