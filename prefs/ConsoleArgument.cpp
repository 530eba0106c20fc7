#include "prefs/ConsoleArgument.h"

namespace korvana {
namespace {

constexpr std::string_view kLineBreaks("\r\n\0", 3);

bool EndsInOddBackslashes(std::string_view text) {
    std::size_t count = 0;
    while (count < text.size() && text[text.size() - 1 - count] == '\\') {
        ++count;
    }
    return count % 2 == 1;
}

}  // namespace

bool IsOneConsoleLine(std::string_view line) {
    return !line.empty() && line.find_first_of(kLineBreaks) == std::string_view::npos;
}

std::optional<std::string> ConsoleArgument(std::string_view path) {
    if (path.find_first_of(kLineBreaks) != std::string_view::npos) {
        return std::nullopt;
    }
    const bool separated = path.find_first_of(" \t") != std::string_view::npos;
    const bool startsQuoted = !path.empty() && (path.front() == '"' || path.front() == '\'');
    if (!path.empty() && !separated && !startsQuoted) {
        return std::string(path);
    }
    if (EndsInOddBackslashes(path)) {
        return std::nullopt;
    }
    for (const char quote : {'"', '\''}) {
        if (path.find(quote) == std::string_view::npos) {
            return quote + std::string(path) + quote;
        }
    }
    return std::nullopt;
}

}  // namespace korvana
