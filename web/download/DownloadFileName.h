#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korvana {

// The longest file name the downloads folder takes, in bytes.
inline constexpr std::size_t kMaxFileNameBytes = 255;

// A name from a web page or the core made safe to use inside a folder: the
// part after its last "/" or "\", control characters (NUL included) as "_",
// blanks at both ends dropped, at most 255 bytes with the extension kept,
// never ".", ".." or empty ("download" instead).
std::string SafeFileName(std::string_view name);

// `safeName` with " (number)" before its extension, e.g. "song (1).mp3",
// still within 255 bytes.
std::string NumberedFileName(std::string_view safeName, int number);

}  // namespace korvana
