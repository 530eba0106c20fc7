#include "core/ResultPool.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "util/AsciiCase.h"

namespace korvana {
namespace {

constexpr std::size_t kTextBlockSize = 64 * 1024;

// The integer value of the first tag of that name (letter case aside); tags
// are stored newest first. Text tags carry no number.
std::optional<std::int32_t> TagNumber(const CoreResult& result, std::string_view name) {
    for (const CoreTagView& tag : result.tags) {
        if (tag.type != CoreTag::kTextType && EqualsIgnoringCase(tag.name, name)) {
            return tag.intValue;
        }
    }
    return std::nullopt;
}

// The text of the newest text tag of that name (letter case aside).
std::string_view TagText(const CoreResult& result, std::string_view name) {
    for (const CoreTagView& tag : result.tags) {
        if (tag.type == CoreTag::kTextType && EqualsIgnoringCase(tag.name, name)) {
            return tag.text;
        }
    }
    return {};
}

}  // namespace

std::string_view ResultPool::TextStore::Keep(std::string_view text, std::string_view after) {
    const std::size_t size = text.size() + after.size();
    if (size == 0) {
        return {};
    }
    if (capacity_ - used_ < size) {
        capacity_ = std::max(kTextBlockSize, size);
        blocks_.push_back(std::make_unique<char[]>(capacity_));
        used_ = 0;
    }
    char* at = blocks_.back().get() + used_;
    std::memcpy(at, text.data(), text.size());
    if (!after.empty()) {
        std::memcpy(at + text.size(), after.data(), after.size());
    }
    used_ += size;
    return {at, text.size()};
}

ResultPool::ResultPool() : records_(std::make_shared<Records>()) {}

void ResultPool::Add(const CoreResult& result) {
    PooledResult& kept = records_->list.emplace_back();
    kept.resultId = result.resultId;
    kept.networkNumber = result.networkNumber;
    kept.size = result.size;
    kept.sources = TagNumber(result, "availability").value_or(1);
    kept.bitrate = TagNumber(result, "bitrate").value_or(0);
    tags_.clear();
    JoinTags(tags_, TagText(result, "artist"), TagText(result, "title"), TagText(result, "album"));
    kept.name = records_->names.Keep(result.name, tags_);
    kept.tagsLength = static_cast<std::uint16_t>(tags_.size());
    byId_.Set(result.resultId, static_cast<std::uint32_t>(records_->list.size() - 1));
}

std::shared_ptr<const PooledResult> ResultPool::Find(std::int32_t resultId) const {
    const std::optional<std::uint32_t> index = byId_.Find(resultId);
    if (!index) {
        return nullptr;
    }
    // Shares the ownership of all records: no count of its own per record.
    return std::shared_ptr<const PooledResult>(records_, &records_->list[*index]);
}

}  // namespace korvana
