#pragma once

#include <atomic>

#include "util/RowChanges.h"

namespace korvana::test {

// Counts the notices a changing list raises.
class CountingChangeListener final : public ChangeListener {
  public:
    void OnChangesWaiting() override { ++raised; }
    std::atomic<int> raised{0};
};

}  // namespace korvana::test
