#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "web/archive/ArchiveAnswers.h"

// Reads the input as the archive's search answer and as an item's metadata
// answer, and builds the links a result would get.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view answer(reinterpret_cast<const char*>(data), size);
    if (const auto page = korvana::ReadArchiveSearch(answer)) {
        if (page->items.size() > korvana::kMaxArchiveItems || page->numFound < 0) {
            std::abort();
        }
        for (const auto& item : page->items) {
            if (item.identifier.empty() || item.title.size() > korvana::kMaxArchiveText) {
                std::abort();
            }
            korvana::ArchiveMetadataUrl("http://127.0.0.1:4100", item.identifier);
        }
    }
    if (const auto files = korvana::ReadArchiveFiles(answer)) {
        if (files->size() > korvana::kMaxArchiveFiles) {
            std::abort();
        }
        for (const auto& file : *files) {
            const std::string wrapped = "/" + file.name + "/";
            if (file.name.front() == '/' || wrapped.find("/../") != std::string::npos ||
                wrapped.find("//") != std::string::npos) {
                std::abort();
            }
            korvana::ArchiveDownloadUrl("http://127.0.0.1:4100", "item", file.name);
            korvana::ArchiveLengthText(file);
        }
    }
    return 0;
}
