#include "library/SavedFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>

namespace korvana {
namespace {

bool WriteAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t step = write(fd, text.data() + written, text.size() - written);
        if (step <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(step);
    }
    return true;
}

}  // namespace

bool SaveFileWhole(const std::filesystem::path& file, const std::string& text) {
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    const std::filesystem::path temporary = file.string() + ".new";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    const bool written = WriteAll(fd, text) && fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), file.c_str()) != 0) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

std::optional<std::string> LoadFileUpTo(const std::filesystem::path& file, std::size_t mostBytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    // Read a piece at a time: the bound is no reason to hold that much.
    std::string text;
    std::array<char, 64 * 1024> piece{};
    while (in.read(piece.data(), piece.size()) || in.gcount() > 0) {
        text.append(piece.data(), static_cast<std::size_t>(in.gcount()));
        if (text.size() > mostBytes) {
            return std::nullopt;
        }
    }
    return text;
}

}  // namespace korvana
