#include "library/TrackTags.h"

#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <taglib/tbytevectorstream.h>

#include <limits>
#include <unordered_set>

namespace korvana {
namespace {

std::string Bounded(const TagLib::String& text) {
    std::string utf8 = text.to8Bit(true);
    if (utf8.size() <= TrackTags::kMaxTagText) {
        return utf8;
    }
    // Cut before a UTF-8 continuation byte, never inside a character.
    std::size_t end = TrackTags::kMaxTagText;
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) {
        --end;
    }
    utf8.resize(end);
    return utf8;
}

TrackTags TagsFrom(const TagLib::FileRef& ref) {
    TrackTags tags;
    if (ref.isNull()) {
        return tags;
    }
    if (const TagLib::Tag* tag = ref.tag()) {
        tags.artist = Bounded(tag->artist());
        tags.title = Bounded(tag->title());
        tags.album = Bounded(tag->album());
    }
    if (const TagLib::AudioProperties* audio = ref.audioProperties()) {
        tags.lengthSeconds = std::max(0, audio->lengthInSeconds());
        tags.bitrateKbps = std::max(0, audio->bitrate());
    }
    return tags;
}

}  // namespace

TrackTags ReadTrackTags(const std::filesystem::path& file) {
    const TagLib::FileRef ref(file.c_str(), true, TagLib::AudioProperties::Fast);
    return TagsFrom(ref);
}

TrackTags ReadTrackTagsFromBytes(std::string_view bytes) {
    if (bytes.size() > std::numeric_limits<unsigned int>::max()) {
        return {};
    }
    TagLib::ByteVectorStream stream(
        TagLib::ByteVector(bytes.data(), static_cast<unsigned int>(bytes.size())));
    // The file the reference opens reads the stream, so the stream outlives it.
    const TagLib::FileRef ref(&stream, true, TagLib::AudioProperties::Fast);
    return TagsFrom(ref);
}

TrackTags TagCache::TagsOf(const std::string& file, FileState state) {
    {
        const std::lock_guard lock(mutex_);
        const auto found = cached_.find(file);
        if (found != cached_.end() && found->second.state == state) {
            return found->second.tags;
        }
    }
    TrackTags tags = ReadTrackTags(file);
    const std::lock_guard lock(mutex_);
    ++reads_;
    cached_[file] = {state, tags};
    return tags;
}

TagCache::Known TagCache::Find(const std::string& file, FileState state) const {
    const std::lock_guard lock(mutex_);
    const auto found = cached_.find(file);
    if (found == cached_.end()) {
        return {};
    }
    return {found->second.tags, true, found->second.state == state};
}

void TagCache::KeepOnly(const std::vector<std::string>& kept) {
    const std::unordered_set<std::string> keep(kept.begin(), kept.end());
    const std::lock_guard lock(mutex_);
    std::erase_if(cached_, [&](const auto& entry) { return !keep.contains(entry.first); });
}

std::size_t TagCache::Reads() const {
    const std::lock_guard lock(mutex_);
    return reads_;
}

void TagCache::Remember(std::vector<Entry> entries) {
    const std::lock_guard lock(mutex_);
    for (Entry& entry : entries) {
        cached_.try_emplace(std::move(entry.file), Cached{entry.state, std::move(entry.tags)});
    }
}

std::vector<TagCache::Entry> TagCache::Entries() const {
    const std::lock_guard lock(mutex_);
    std::vector<Entry> entries;
    entries.reserve(cached_.size());
    for (const auto& [file, cached] : cached_) {
        entries.push_back({file, cached.state, cached.tags});
    }
    return entries;
}

}  // namespace korvana
