#include "library/Playlist.h"

#include <utility>

#include "library/LibraryEntry.h"

namespace korvana {

void Playlist::Select(std::optional<std::size_t> row) {
    selected_ = row && *row < rows_.size() ? row : std::nullopt;
}

void Playlist::Append(Track track) {
    changes_.Queue(RowChange<Track>::Inserted(rows_.size(), {track}));
    rows_.push_back(std::move(track));
}

void Playlist::Clear() {
    if (!rows_.empty()) {
        changes_.Queue(RowChange<Track>::Removed(0, rows_.size()));
    }
    rows_.clear();
    selected_.reset();
    current_ = -1;
}

std::string Playlist::TitleAt(std::int64_t row) const {
    return row >= 0 && row < Size() ? rows_[static_cast<std::size_t>(row)].title : std::string();
}

std::string Playlist::PathAt(std::int64_t row) const {
    return row >= 0 && row < Size() ? rows_[static_cast<std::size_t>(row)].fullPath : std::string();
}

// Neighbours only: the swap is one row's move.
void Playlist::Swap(std::size_t a, std::size_t b) {
    std::swap(rows_[a], rows_[b]);
    changes_.Queue(RowChange<Track>::Moved(a, b));
    if (current_ == static_cast<std::int64_t>(a)) {
        current_ = static_cast<std::int64_t>(b);
    } else if (current_ == static_cast<std::int64_t>(b)) {
        current_ = static_cast<std::int64_t>(a);
    }
}

void Playlist::MoveSelectedUp() {
    if (selected_ && *selected_ > 0) {
        Swap(*selected_, *selected_ - 1);
        --*selected_;
    }
}

void Playlist::MoveSelectedDown() {
    if (selected_ && *selected_ + 1 < rows_.size()) {
        Swap(*selected_, *selected_ + 1);
        ++*selected_;
    }
}

void Playlist::RemoveSelected() {
    if (!selected_) {
        return;
    }
    const auto removed = static_cast<std::int64_t>(*selected_);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*selected_));
    changes_.Queue(RowChange<Track>::Removed(*selected_, 1));
    selected_.reset();
    if (current_ == removed) {
        current_ = -1;
    } else if (current_ > removed) {
        --current_;
    }
}

}  // namespace korvana
