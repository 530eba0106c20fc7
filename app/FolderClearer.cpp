#include "app/FolderClearer.h"

#include <system_error>

namespace korvana {

FolderClearer::FolderClearer(const std::filesystem::path& folder) {
    if (folder.empty()) {
        return;
    }
    std::error_code ec;
    std::filesystem::directory_iterator first(folder, ec);
    if (!ec && first != std::filesystem::directory_iterator()) {
        stack_.push_back(std::move(first));
    }
}

bool FolderClearer::Step(std::size_t maxEntries) {
    for (std::size_t handled = 0; handled < maxEntries && !stack_.empty(); ++handled) {
        auto& current = stack_.back();
        if (current == std::filesystem::directory_iterator()) {
            stack_.pop_back();
            continue;
        }
        const std::filesystem::directory_entry entry = *current;
        std::error_code ec;
        current.increment(ec);
        if (ec) {
            current = std::filesystem::directory_iterator();
        }
        HandleEntry(entry);
    }
    return Done();
}

void FolderClearer::HandleEntry(const std::filesystem::directory_entry& entry) {
    std::error_code ec;
    if (entry.is_directory(ec) && !entry.is_symlink(ec)) {
        std::filesystem::directory_iterator inner(entry.path(), ec);
        if (!ec) {
            stack_.push_back(std::move(inner));
        }
        return;
    }
    std::filesystem::remove(entry.path(), ec);
}

void FolderClearer::ClearAll(const std::filesystem::path& folder) {
    FolderClearer clearer(folder);
    while (!clearer.Step(256)) {
    }
}

}  // namespace korvana
