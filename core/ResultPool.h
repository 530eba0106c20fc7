#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "core/CoreResult.h"

namespace korvana {

// Every result the core reported, found by result id. A result id reported
// twice is not merged: the newer record takes the id, and the older one
// lives on only where a search already holds it. Used by the receive thread
// alone.
class ResultPool {
  public:
    void Add(std::shared_ptr<CoreResult> result);
    std::shared_ptr<CoreResult> Find(std::int32_t resultId) const;
    std::size_t Size() const { return byId_.size(); }

  private:
    std::unordered_map<std::int32_t, std::shared_ptr<CoreResult>> byId_;
};

}  // namespace korvana
