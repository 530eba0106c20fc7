#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvana {

// Decodes the percent escapes that the engines put into links: %0A, %0D,
// %20 to %2F, %3A to %3F, %40, %5B to %60 and %7B to %7E, in that order,
// each replacing every occurrence in the text as it stands after the ones
// before (so %252F becomes "/": %25 is decoded before %2F is looked for).
// Only upper-case hexadecimal digits are decoded; escapes of letters and
// digits stay as they are.
std::string DecodeLink(std::string_view link);

// Whether "wma" counts as "mp3" when a download link's extension is taken.
enum class WmaRule { Keep, BecomesMp3 };

// The extension of a download link, without its dot: the text after the last
// ".", cut at its first "?" when it is longer than 3 characters; with
// BecomesMp3 a "wma" (any letter case) becomes "mp3" first. Absent when the
// link has no "." or the text after it holds a "/" (the dot then belongs to
// the host or a folder, and a "/" must not reach a file name).
std::optional<std::string> DownloadExtension(std::string_view link, WmaRule wma);

// The name of a result found through a detail page: "title.extension", or the
// title alone when the link has no extension.
std::string DetailResultName(std::string_view title, std::string_view link, WmaRule wma);

// The name of a result of the first engine: the title followed by the link's
// extension from its last "." to its end, dot included; the title alone when
// there is no "." or the text after it holds a "/".
std::string ListedResultName(std::string_view title, std::string_view link);

}  // namespace korvana
