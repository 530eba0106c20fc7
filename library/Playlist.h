#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "util/RowChangeQueue.h"

namespace korvana {

// One playlist row: the library's file name as the title, and its path.
struct Track {
    std::string title;
    std::string fullPath;

    bool operator==(const Track&) const = default;
};

// The playlist's rows with their single selection and the player's current
// row. The same file, or files of the same name, may be in several rows, so
// the current row is kept by position and follows its row when rows move
// or go. Row numbers are signed because the player's track arithmetic
// steps to "no row" (-1) and beyond; such rows read as empty. Each change of
// the rows is queued as RowChange steps for the view.
class Playlist {
  public:
    const std::vector<Track>& Rows() const { return rows_; }
    std::int64_t Size() const { return static_cast<std::int64_t>(rows_.size()); }
    bool Empty() const { return rows_.empty(); }

    std::optional<std::size_t> Selected() const { return selected_; }
    // A selection past the end selects nothing.
    void Select(std::optional<std::size_t> row);

    void Append(Track track);
    void Clear();

    // The row's texts, empty for a row that does not exist.
    std::string TitleAt(std::int64_t row) const;
    std::string PathAt(std::int64_t row) const;
    // The row the player is at, or -1. Setting a row that does not exist
    // leaves no current row.
    std::int64_t Current() const { return current_; }
    void SetCurrent(std::int64_t row) { current_ = row >= 0 && row < Size() ? row : -1; }

    // Move the selected row one place and keep it selected; nothing when
    // there is no selection or it is already at that end.
    void MoveSelectedUp();
    void MoveSelectedDown();
    // Removing the current row leaves no current row.
    void RemoveSelected();

    // The steps the rows took that the view has not taken yet. Taking them
    // leaves the playlist as it is, so a view that holds the playlist
    // read-only may take them.
    RowChangeQueue<Track>& Changes() const { return changes_; }

  private:
    void Swap(std::size_t a, std::size_t b);

    std::vector<Track> rows_;
    mutable RowChangeQueue<Track> changes_;
    std::optional<std::size_t> selected_;
    std::int64_t current_ = -1;
};

}  // namespace korvana
