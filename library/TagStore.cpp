#include "library/TagStore.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "library/SavedFile.h"

namespace korvana {
namespace {

using Json = nlohmann::json;

constexpr int kStoreVersion = 1;
// path, size, modified, artist, title, album, length, bit rate
constexpr std::size_t kFields = 8;

std::string CutText(const Json& value) {
    std::string text = value.is_string() ? value.get<std::string>() : std::string();
    if (text.size() > TrackTags::kMaxTagText) {
        text.resize(TrackTags::kMaxTagText);
    }
    return text;
}

std::int64_t Number(const Json& value) {
    return value.is_number_integer() ? value.get<std::int64_t>() : -1;
}

int Count(const Json& value) {
    return static_cast<int>(std::clamp<std::int64_t>(Number(value), 0, 1'000'000'000));
}

std::optional<StoredTags> ReadOne(const Json& entry) {
    if (!entry.is_array() || entry.size() != kFields || !entry[0].is_string()) {
        return std::nullopt;
    }
    StoredTags file;
    file.file = entry[0].get<std::string>();
    file.state = {Number(entry[1]), Number(entry[2])};
    if (file.file.empty() || file.state.size < 0 || file.state.modified < 0) {
        return std::nullopt;
    }
    file.tags = {CutText(entry[3]), CutText(entry[4]), CutText(entry[5]), Count(entry[6]),
                 Count(entry[7])};
    return file;
}

}  // namespace

std::string TagStoreText(const std::vector<StoredTags>& files) {
    Json list = Json::array();
    for (const StoredTags& file : files) {
        list.push_back({file.file, file.state.size, file.state.modified, file.tags.artist,
                        file.tags.title, file.tags.album, file.tags.lengthSeconds,
                        file.tags.bitrateKbps});
    }
    const Json root = {{"version", kStoreVersion}, {"files", std::move(list)}};
    // Invalid UTF-8 in a file name is kept as it is rather than refused.
    return root.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::optional<std::vector<StoredTags>> ReadTagStore(std::string_view text) {
    if (text.size() > kMostTagStoreBytes) {
        return std::nullopt;
    }
    const Json root = Json::parse(text.begin(), text.end(), nullptr, false);
    if (root.is_discarded() || !root.is_object()) {
        return std::nullopt;
    }
    const auto version = root.find("version");
    const auto list = root.find("files");
    if (version == root.end() || Number(*version) != kStoreVersion || list == root.end() ||
        !list->is_array()) {
        return std::nullopt;
    }
    std::vector<StoredTags> files;
    for (const Json& entry : *list) {
        if (files.size() == kMostStoredTags) {
            break;
        }
        if (std::optional<StoredTags> file = ReadOne(entry)) {
            files.push_back(std::move(*file));
        }
    }
    return files;
}

bool SaveTagStore(const std::filesystem::path& file, const std::vector<StoredTags>& files) {
    return SaveFileWhole(file, TagStoreText(files));
}

std::vector<StoredTags> LoadTagStore(const std::filesystem::path& file) {
    const std::optional<std::string> text = LoadFileUpTo(file, kMostTagStoreBytes);
    std::optional<std::vector<StoredTags>> files = text ? ReadTagStore(*text) : std::nullopt;
    return files ? std::move(*files) : std::vector<StoredTags>();
}

}  // namespace korvana
