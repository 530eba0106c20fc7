#pragma once

#include <cstddef>
#include <string>

namespace korvana {

// Shortens `text` to at most `maxBytes` bytes. Texts from the core are UTF-8
// as a rule, so the cut never splits a multi-byte character; bytes that do
// not form UTF-8 are cut where the limit falls.
std::string TruncateText(std::string text, std::size_t maxBytes);

}  // namespace korvana
