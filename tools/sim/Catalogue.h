#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvana::sim {

// One song the simulated peers offer.
struct CatalogueEntry {
    std::string artist;
    std::string title;
    std::string album;
    std::string year;
    int bitrate = 128;  // kbit/s
    int seconds = 180;
    int availability = 1;  // sources that have it
};

// "Artist - Title.mp3", the name the song is found and saved under.
std::string EntryName(const CatalogueEntry& entry);

// The songs searches are answered from: entries read from a catalogue file
// first, then generated ones. Generation is a pure function of the index, so
// every run offers the same songs, and an index past Size() still yields a
// song (result floods draw from there).
class Catalogue {
  public:
    Catalogue(std::size_t generatedCount, std::vector<CatalogueEntry> listed);

    std::size_t Size() const { return listed_.size() + generatedCount_; }
    CatalogueEntry At(std::size_t index) const;

  private:
    std::vector<CatalogueEntry> listed_;
    std::size_t generatedCount_;
};

CatalogueEntry GeneratedEntry(std::size_t seed);

// Reads catalogue lines
// "artist<TAB>title<TAB>album<TAB>bitrate<TAB>seconds<TAB>availability"
// (all after the title may be left out; '#' starts a comment line). Bounded: at
// most kMaxListed entries and kMaxField bytes a field; malformed lines are
// skipped.
inline constexpr std::size_t kMaxListed = 100000;
inline constexpr std::size_t kMaxField = 200;
std::vector<CatalogueEntry> ParseCatalogueText(std::string_view text);

}  // namespace korvana::sim
