#pragma once

#include <string>

namespace korvana {

// One folder the core shares, as its console command `shares` lists it.
struct CoreSharedFolder {
    std::string folder;
    std::string strategy;
    int priority = 0;

    bool operator==(const CoreSharedFolder&) const = default;
};

}  // namespace korvana
