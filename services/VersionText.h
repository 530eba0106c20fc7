#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvana {

// The version of this program, compared with the one the vendor announces.
inline constexpr const char* kRunningVersion = "3.0.0";

// The longest version text taken seriously; anything longer is junk.
inline constexpr std::size_t kMaxVersionText = 32;
// The most digits in one component, so that a component always fits.
inline constexpr std::size_t kMaxComponentDigits = 9;

// The text with white space (line ends included) removed from its end.
std::string_view TrimVersionText(std::string_view text);

// The numeric components of a version such as "3.0.10": digits separated by
// single dots, at most kMaxVersionText bytes, at most kMaxComponentDigits
// digits a component. Absent for anything else (empty text, letters, blanks,
// empty components, an error page).
std::optional<std::vector<std::uint32_t>> ParseVersion(std::string_view text);

// True when `candidate` is a valid version whose components compare greater
// than those of `running`, component by component as numbers (missing ones
// count as 0, so "3.0" equals "3.0.0" and "3.0.10" is newer than "3.0.9").
// Junk on either side is never newer.
bool IsNewerVersion(std::string_view candidate, std::string_view running);

}  // namespace korvana
