#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvana {

// The longest URI taken from outside: far above any real path.
inline constexpr std::size_t kMaxFileUriBytes = 16 * 1024;

// The local path a file:// URI names: an empty host or "localhost", an
// absolute path, percent escapes decoded. Nothing for any other scheme or
// host, a query or fragment, a broken escape, an escaped NUL, or an
// over-long URI.
std::optional<std::string> LocalPathFromFileUri(std::string_view uri);

// The file:// URI of an absolute local path: every byte but the unreserved
// ones and '/' escaped, so any file name reads back unchanged.
std::string FileUriFromLocalPath(std::string_view path);

}  // namespace korvana
