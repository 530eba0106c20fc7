#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/sim/Catalogue.h"
#include "tools/sim/CoreMessages.h"

namespace korvana::sim {

// A file's state, numbered as the core reports it.
enum class FileState : std::uint8_t {
    kDownloading = 0,
    kPaused = 1,
    kDownloaded = 2,
    kShared = 3,
    kCancelled = 4,
    kNew = 5,
    kAborted = 6,
    kQueued = 7,
};

struct Download {
    std::int32_t number = 0;
    std::int32_t network = 0;
    std::size_t catalogueIndex = 0;
    CatalogueEntry entry;
    std::string name;
    Hash hash{};
    std::uint64_t size = 0;
    std::uint64_t downloaded = 0;
    FileState state = FileState::kNew;
    std::string reason;
    double rate = 0.0;
    double pendingBytes = 0.0;  // progress below one byte, carried to the next step
};

// The core's downloads. Numbers start at 1 (the front end takes a number
// below 1 for a web download). Finished, cancelled and aborted downloads
// stay listed with their final state.
class DownloadTable {
  public:
    static constexpr std::size_t kMaxDownloads = 10000;

    Download* Find(std::int32_t number);
    // The download of that catalogue song that is not cancelled, if any.
    Download* FindSong(std::size_t catalogueIndex);
    // Absent when the table is full.
    Download* Add(std::size_t catalogueIndex, const CatalogueEntry& entry, std::string name,
                  std::int32_t network, std::uint64_t size, const Hash& hash);
    // Pause: new or downloading becomes paused. Resume: paused becomes
    // downloading. False when nothing changed.
    bool Switch(std::int32_t number, bool resume);
    bool Cancel(std::int32_t number);
    // Moves every running download on by `seconds` at `rate` bytes per
    // second; a new download starts running. Returns the numbers of the
    // downloads whose last byte arrived (they still say downloading).
    std::vector<std::int32_t> Advance(double seconds, std::int64_t rate);

    std::vector<Download>& All() { return downloads_; }
    const std::vector<Download>& All() const { return downloads_; }

  private:
    std::vector<Download> downloads_;
    std::int32_t nextNumber_ = 1;
};

DownloadInfo Describe(const Download& download);

// A name that stays inside its folder: no separators, no control bytes, not
// "." or "..", at most 200 bytes; "download" when nothing is left.
std::string SafeFileName(std::string_view name);

// Creates `name` (made safe) in `folder` without overwriting anything: an
// existing name gets "_1", "_2" ... after it, extension and all, as an
// MLDonkey core names a finished file whose name is taken. Returns the path
// written, or absent with `error` set.
std::optional<std::filesystem::path> WriteNewFile(const std::filesystem::path& folder,
                                                  std::string_view name, std::string_view bytes,
                                                  std::string& error);

}  // namespace korvana::sim
