#include "tests/support/TempDir.h"

#include <stdexcept>
#include <string>

#include <stdlib.h>

namespace korvana::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvana-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

}  // namespace korvana::test
