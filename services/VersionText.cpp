#include "services/VersionText.h"

#include <algorithm>

namespace korvana {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string_view TrimVersionText(std::string_view text) {
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<std::vector<std::uint32_t>> ParseVersion(std::string_view text) {
    if (text.empty() || text.size() > kMaxVersionText) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> components;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t dot = std::min(text.find('.', start), text.size());
        const std::string_view digits = text.substr(start, dot - start);
        if (digits.empty() || digits.size() > kMaxComponentDigits ||
            !std::all_of(digits.begin(), digits.end(), IsDigit)) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (char c : digits) {
            value = value * 10 + static_cast<std::uint32_t>(c - '0');
        }
        components.push_back(value);
        start = dot + 1;
    }
    return components;
}

bool IsNewerVersion(std::string_view candidate, std::string_view running) {
    const auto newer = ParseVersion(candidate);
    const auto current = ParseVersion(running);
    if (!newer || !current) {
        return false;
    }
    const std::size_t count = std::max(newer->size(), current->size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t a = i < newer->size() ? (*newer)[i] : 0;
        const std::uint32_t b = i < current->size() ? (*current)[i] : 0;
        if (a != b) {
            return a > b;
        }
    }
    return false;
}

}  // namespace korvana
