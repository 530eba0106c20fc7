#include "core/ResultPool.h"

#include <utility>

namespace korvana {

void ResultPool::Add(std::shared_ptr<CoreResult> result) {
    const std::int32_t id = result->resultId;
    byId_.insert_or_assign(id, std::move(result));
}

std::shared_ptr<CoreResult> ResultPool::Find(std::int32_t resultId) const {
    const auto found = byId_.find(resultId);
    return found == byId_.end() ? nullptr : found->second;
}

}  // namespace korvana
