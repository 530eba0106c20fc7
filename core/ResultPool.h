#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/CoreResult.h"
#include "core/IdTable.h"

namespace korvana {

// Every result the core reported, found by result id. A result id reported
// twice is not merged: the newer record takes the id, and the older one
// lives on only where a search already holds it. Written by the receive
// thread alone; a record handed out may be read on any thread, since records
// never change or move.
class ResultPool {
  public:
    ResultPool();

    void Add(const CoreResult& result);
    // The newest record of that id, or null. It keeps the pool's records
    // alive, so a search may hold it longer than the pool lives.
    std::shared_ptr<const PooledResult> Find(std::int32_t resultId) const;
    std::size_t Size() const { return byId_.Size(); }

  private:
    // Texts copied into large blocks that never move, so views into them
    // stay valid while the store lives.
    class TextStore {
      public:
        // Keeps `text` with `after` right behind it; the view is of `text`.
        std::string_view Keep(std::string_view text, std::string_view after);

      private:
        std::vector<std::unique_ptr<char[]>> blocks_;
        std::size_t used_ = 0;
        std::size_t capacity_ = 0;
    };
    struct Records {
        std::deque<PooledResult> list;
        TextStore names;
    };

    std::shared_ptr<Records> records_;
    // Result id to its newest record's index in `records_->list`.
    IdTable byId_;
    // A result's joined tags on their way into the store, reused.
    std::string tags_;
};

}  // namespace korvana
