#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace korvana::test {

// Writes `bytes` to `file`, creating its folders first.
inline void WriteText(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// The whole file; empty when it cannot be read.
inline std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace korvana::test
