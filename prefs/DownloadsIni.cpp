#include "prefs/DownloadsIni.h"

#include <algorithm>
#include <fstream>
#include <optional>

namespace korvana {
namespace {

constexpr std::string_view kFolderMarker = "  {     dirname = ";
constexpr std::string_view kSpace = " \t";

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The byte of a \ddd escape at `text[at]` (the backslash), if it is one.
std::optional<char> DecimalEscape(std::string_view text, std::size_t at) {
    if (at + 3 >= text.size() || !IsDigit(text[at + 1]) || !IsDigit(text[at + 2]) ||
        !IsDigit(text[at + 3])) {
        return std::nullopt;
    }
    const int value = (text[at + 1] - '0') * 100 + (text[at + 2] - '0') * 10 + (text[at + 3] - '0');
    if (value > 255) {
        return std::nullopt;
    }
    return static_cast<char>(value);
}

// The text of a quoted value, starting after its opening quote, up to the
// closing quote or the end of the line. A backslash that starts none of the
// core's escapes stays as it is.
std::string Unquote(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size() && text[i] != '"'; ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            if (text[i + 1] == '\\' || text[i + 1] == '"') {
                out += text[++i];
                continue;
            }
            if (const std::optional<char> byte = DecimalEscape(text, i)) {
                out += *byte;
                i += 3;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// The folder named by the rest of a folder line; empty when it names none.
std::string FolderValue(std::string_view rest) {
    rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(kSpace)));
    std::string value;
    if (!rest.empty() && rest.front() == '"') {
        value = Unquote(rest.substr(1));
    } else if (Trim(rest) != "shared") {
        value = std::string(Trim(rest));
    }
    if (value.find('\0') != std::string::npos) {
        return {};
    }
    return value;
}

bool IsIncomingStrategy(std::string_view trimmedLine) {
    return trimmedLine == "strategy = incoming_files" ||
           trimmedLine == "strategy = incoming_directories";
}

}  // namespace

std::vector<std::string> ReadSharedFolders(std::string_view content) {
    std::vector<std::string> folders;
    std::optional<std::string> entry;  // the folder of the entry being read
    const auto endEntry = [&] {
        if (entry && !entry->empty()) {
            folders.push_back(std::move(*entry));
        }
        entry.reset();
    };
    while (!content.empty()) {
        const std::size_t newline = content.find('\n');
        std::string_view line = content.substr(0, newline);
        content.remove_prefix(newline == std::string_view::npos ? content.size() : newline + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.size() > kMaxIniLineChars) {
            continue;
        }
        if (line.starts_with(kFolderMarker)) {
            endEntry();
            entry = FolderValue(line.substr(kFolderMarker.size()));
            continue;
        }
        const std::string_view trimmed = Trim(line);
        if (trimmed.starts_with('}') || trimmed.starts_with('{')) {
            endEntry();
        } else if (IsIncomingStrategy(trimmed)) {
            entry.reset();
        }
    }
    endEntry();
    return folders;
}

std::vector<std::string> ReadSharedFoldersFile(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        return {};
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return {};
    }
    std::string content;
    char chunk[64 * 1024];
    bool complete = false;
    while (content.size() <= kMaxDownloadsIniBytes) {
        in.read(chunk, sizeof chunk);
        content.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (in.bad()) {
            break;
        }
        if (in.eof()) {
            complete = content.size() <= kMaxDownloadsIniBytes;
            break;
        }
    }
    if (!complete) {
        // Only whole lines count: a cut line could name a shorter folder.
        const std::size_t lastNewline = content.rfind('\n', kMaxDownloadsIniBytes - 1);
        content.resize(lastNewline == std::string::npos ? 0 : lastNewline + 1);
    }
    return ReadSharedFolders(content);
}

std::filesystem::path DownloadsIniPath(const std::filesystem::path& installFolder) {
    return installFolder / "mldonkey" / "downloads.ini";
}

}  // namespace korvana
