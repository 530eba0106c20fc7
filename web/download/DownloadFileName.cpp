#include "web/download/DownloadFileName.h"

#include "web/HttpText.h"

namespace korvana {
namespace {

constexpr std::string_view kFallbackName = "download";
// A longer "extension" is more likely part of the name than a file type.
constexpr std::size_t kMaxExtensionBytes = 16;

// Where the extension starts (its dot), or the name's size when it has none.
std::size_t ExtensionStart(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || name.size() - dot > kMaxExtensionBytes) {
        return name.size();
    }
    return dot;
}

// Joins stem, suffix and extension, cutting the stem (never inside a UTF-8
// character) so that the whole fits.
std::string Fit(std::string_view stem, std::string_view suffix, std::string_view extension) {
    std::string cut(stem);
    CutToLimit(cut, kMaxFileNameBytes - suffix.size() - extension.size());
    return cut.append(suffix).append(extension);
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::string SafeFileName(std::string_view name) {
    const std::size_t separator = name.find_last_of("/\\");
    if (separator != std::string_view::npos) {
        name.remove_prefix(separator + 1);
    }
    std::string safe;
    safe.reserve(name.size());
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        safe += byte < 0x20 || byte == 0x7F ? '_' : c;
    }
    const std::string_view trimmed = Trimmed(safe);
    const std::size_t extension = ExtensionStart(trimmed);
    // Trimmed again: a cut may end the name in a blank.
    const std::string fitted = Fit(trimmed.substr(0, extension), {}, trimmed.substr(extension));
    const std::string_view result = Trimmed(fitted);
    if (result.empty() || result == "." || result == "..") {
        return std::string(kFallbackName);
    }
    return std::string(result);
}

std::string NumberedFileName(std::string_view safeName, int number) {
    const std::size_t extension = ExtensionStart(safeName);
    const std::string suffix = " (" + std::to_string(number) + ")";
    return Fit(safeName.substr(0, extension), suffix, safeName.substr(extension));
}

}  // namespace korvana
