#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvana {

// The Internet Archive's public audio search, read without fetching: the
// addresses of its search and metadata answers and what those answers say.
// The answers are outside input: each reader is bounded and returns nothing
// for an answer it cannot read, never throws.

// Answers larger than this are not read at all.
inline constexpr std::size_t kMaxArchiveAnswerBytes = 8 * 1024 * 1024;
// Items of one search page, files of one item: more are ignored.
inline constexpr std::size_t kMaxArchiveItems = 500;
inline constexpr std::size_t kMaxArchiveFiles = 2000;
// Longer texts are cut to this many bytes; longer identifiers and file
// names are skipped, since a cut one would name another item or file.
inline constexpr std::size_t kMaxArchiveText = 512;
// Rows asked for per search page.
inline constexpr int kArchiveRowsPerPage = 50;

struct ArchiveItem {
    std::string identifier;
    std::string title;
    std::string creator;
};

struct ArchiveSearchPage {
    std::int64_t numFound = 0;
    std::int64_t start = 0;
    std::vector<ArchiveItem> items;
};

// One MP3 file of an item, with what its metadata tells.
struct ArchiveFile {
    std::string name;             // path inside the item, "/" between folders
    std::int64_t size = -1;       // bytes; -1 when not given
    double lengthSeconds = -1.0;  // -1 when not given
    std::string title;
    std::string creator;
    std::string album;
};

// "<base>/advancedsearch.php?q=<terms> AND mediatype:(audio)&fl[]=identifier
// &fl[]=title&fl[]=creator&rows=50&page=<page>&output=json", escaped as one
// URL: the terms as a query value, the rest as a whole URL.
std::string ArchiveSearchUrl(std::string_view base, std::string_view terms, int page);
// "<base>/metadata/<identifier>".
std::string ArchiveMetadataUrl(std::string_view base, std::string_view identifier);
// "<base>/download/<identifier>/<name>", each path segment of the name
// escaped on its own, so that a "/" in it stays a folder separator and "?"
// or "#" stay part of the name.
std::string ArchiveDownloadUrl(std::string_view base, std::string_view identifier,
                               std::string_view name);

// The search answer: {"response":{"numFound":N,"start":S,"docs":[...]}}.
// Items without a usable identifier are skipped; a title or creator given as
// a list counts its first text.
std::optional<ArchiveSearchPage> ReadArchiveSearch(std::string_view answer);

// The metadata answer's MP3 files ({"files":[{"name":…,"format":…}]}, format
// containing "MP3"). Sizes and lengths come as text or as numbers. Names
// that could leave the item's folder ("..", a leading "/", a NUL) are
// skipped.
std::optional<std::vector<ArchiveFile>> ReadArchiveFiles(std::string_view answer);

// What the result list's Info column shows of a file: "3:35" from its length,
// or "" when not known.
std::string ArchiveLengthText(const ArchiveFile& file);

// The name a result of the file shows: the last path segment of its name.
std::string ArchiveResultName(const ArchiveFile& file);

}  // namespace korvana
