#include "tools/sim/DownloadsIni.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>

namespace korvana::sim {
namespace {

bool IsPlainWord(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '_';
    });
}

std::string Quoted(std::string_view text) {
    if (IsPlainWord(text)) {
        return std::string(text);
    }
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + '"';
}

// Reads a value written by Quoted: a quoted text (escapes undone) or a plain
// word up to the end of the line.
std::string Unquoted(std::string_view text) {
    if (text.empty() || text.front() != '"') {
        return std::string(text);
    }
    std::string value;
    for (std::size_t i = 1; i < text.size() && text[i] != '"'; ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            ++i;
        }
        value += text[i];
    }
    return value;
}

// " name = value" of a top-level option line; false for anything else.
bool SplitOptionLine(std::string_view line, std::string& name, std::string& value) {
    if (line.size() < 4 || line[0] != ' ' || line[1] == ' ' || line[1] == '{') {
        return false;
    }
    const std::size_t equals = line.find(" = ");
    if (equals == std::string_view::npos) {
        return false;
    }
    name = Unquoted(line.substr(1, equals - 1));
    value = Unquoted(line.substr(equals + 3));
    return !name.empty();
}

struct IniReader {
    CoreSettings settings;
    bool inList = false;

    void Line(std::string_view line);
    void ListLine(std::string_view line);
};

void IniReader::ListLine(std::string_view line) {
    static constexpr std::string_view kDirname = "  {     dirname = ";
    static constexpr std::string_view kStrategy = "     strategy = ";
    static constexpr std::string_view kPriority = "     priority = ";
    std::vector<SharedDirectory>& list = *settings.shared;
    if (line.starts_with(kDirname) && list.size() < SharedFolders::kMaxDirectories) {
        list.push_back({Unquoted(line.substr(kDirname.size())), "only_directory", 0});
    } else if (line.starts_with(kStrategy) && !list.empty()) {
        list.back().strategy = Unquoted(line.substr(kStrategy.size()));
    } else if (line.starts_with(kPriority) && !list.empty()) {
        const std::string text = Unquoted(line.substr(kPriority.size()));
        std::from_chars(text.data(), text.data() + text.size(), list.back().priority);
    }
    if (line.ends_with("]")) {
        inList = false;
    }
}

void IniReader::Line(std::string_view line) {
    if (inList) {
        ListLine(line);
        return;
    }
    std::string name;
    std::string value;
    if (!SplitOptionLine(line, name, value)) {
        return;
    }
    if (name == "shared_directories") {
        settings.shared.emplace();
        inList = value != "[]";
    } else if (settings.options.size() < kMaxIniOptions) {
        settings.options.emplace_back(std::move(name), std::move(value));
    }
}

}  // namespace

std::string FormatDownloadsIni(const CoreSettings& settings) {
    std::string text =
        "\n(*\n These are the options of the simulated core. It writes this file on\n"
        " `save`, on SaveOptions and when it stops, and reads it when it starts.\n*)\n\n";
    for (const auto& [name, value] : settings.options) {
        text += " " + Quoted(name) + " = " + Quoted(value) + "\n";
    }
    const std::vector<SharedDirectory> none;
    const std::vector<SharedDirectory>& shared = settings.shared ? *settings.shared : none;
    text += "\n(* Directories where files will be shared *)\n shared_directories = [";
    for (std::size_t i = 0; i < shared.size(); ++i) {
        text += "\n  {     dirname = " + Quoted(shared[i].dirname) +
                "\n     strategy = " + Quoted(shared[i].strategy) +
                "\n     priority = " + std::to_string(shared[i].priority) + "\n};";
    }
    return text + "]\n";
}

CoreSettings ParseDownloadsIni(std::string_view text) {
    IniReader reader;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.size() <= kMaxIniLine) {
            reader.Line(line);
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return reader.settings;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path temporary = path.string() + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n <= 0) {
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    const bool complete = written == bytes.size() && ::fsync(fd) == 0;
    ::close(fd);
    std::error_code error;
    if (complete) {
        std::filesystem::rename(temporary, path, error);
    }
    if (!complete || error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

std::optional<std::string> ReadSmallFile(const std::filesystem::path& path, std::size_t limit) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > limit) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

}  // namespace korvana::sim
