#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

namespace korvana {

// How many numbered names ("name (1).mp3" ...) are tried before giving up.
inline constexpr int kMaxNumberedNames = 9999;

// Moves the file `from` into `folder` (created when missing) as `safeName`,
// or as the first free numbered name when that is taken. Never replaces a
// file, also when another thread saves the same name at the same moment;
// works across file systems. The final path, or none when the file could
// not be put in place (then `from` is left where it was and `why`, when
// given, says what went wrong).
std::optional<std::filesystem::path> MoveToFreeName(const std::filesystem::path& from,
                                                    const std::filesystem::path& folder,
                                                    std::string_view safeName,
                                                    std::error_code* why = nullptr);

}  // namespace korvana
