#include "library/Playlist.h"

#include <utility>

#include "core/AsciiCase.h"
#include "library/LibraryEntry.h"

namespace korvana {

void Playlist::Select(std::optional<std::size_t> row) {
    selected_ = row && *row < rows_.size() ? row : std::nullopt;
}

void Playlist::Clear() {
    rows_.clear();
    selected_.reset();
}

std::string Playlist::TitleAt(std::int64_t row) const {
    return row >= 0 && row < Size() ? rows_[static_cast<std::size_t>(row)].title : std::string();
}

std::string Playlist::PathAt(std::int64_t row) const {
    return row >= 0 && row < Size() ? rows_[static_cast<std::size_t>(row)].fullPath : std::string();
}

std::int64_t Playlist::FindTitle(const std::string& title) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (CompareIgnoringCase(rows_[i].title, title) == 0) {
            return static_cast<std::int64_t>(i);
        }
    }
    return -1;
}

void Playlist::MoveSelectedUp() {
    if (selected_ && *selected_ > 0) {
        std::swap(rows_[*selected_], rows_[*selected_ - 1]);
        --*selected_;
    }
}

void Playlist::MoveSelectedDown() {
    if (selected_ && *selected_ + 1 < rows_.size()) {
        std::swap(rows_[*selected_], rows_[*selected_ + 1]);
        ++*selected_;
    }
}

void Playlist::RemoveSelected() {
    if (selected_) {
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*selected_));
        selected_.reset();
    }
}

}  // namespace korvana
