// Runs a fuzz harness without libFuzzer: every file of the folders or files
// named on the command line, then a fixed, seeded set of random inputs.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void RunFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char* argv[]) {
    std::size_t files = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        std::error_code ec;
        if (std::filesystem::is_directory(path, ec)) {
            for (const auto& entry : std::filesystem::directory_iterator(path)) {
                RunFile(entry.path());
                ++files;
            }
        } else if (std::filesystem::exists(path, ec)) {
            RunFile(path);
            ++files;
        }
    }
    std::mt19937 random(12345);
    std::vector<std::uint8_t> input;
    for (int round = 0; round < 5000; ++round) {
        input.resize(random() % 512);
        for (auto& byte : input) {
            byte = static_cast<std::uint8_t>(random());
        }
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("replayed %zu files and 5000 generated inputs\n", files);
    return 0;
}
