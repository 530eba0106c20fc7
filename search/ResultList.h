#pragma once

#include <vector>

#include "search/ResultRows.h"
#include "util/RowChanges.h"

namespace korvana {

// A change to the rows of the displayed search, as the model queues it.
struct ListEvent {
    enum class Kind {
        Added,  // a new row
        Sized,  // a web row's size became known: it leaves its place and is inserted again
        Failed  // a web row's probe failed: it leaves the list
    };
    Kind kind = Kind::Added;
    // The row as it is to be shown from now on.
    ListedRow row;
};

// The steps that bring `listed`, the rows a view shows in `ordering`, up to
// date with a batch of events, as if each event were applied by itself, in
// order, with the insertion rule, but worked out in one merge. A view is told
// in a few steps, never row by row: the rows that leave for good go first,
// bottom-up, one Removed step per run of neighbours; new rows that all land
// side by side while no listed row moves (a flood) come as one Inserted
// block; scattered new rows are appended in one Inserted step and one
// Reordered step then puts every row in its place.
RowChanges<ListedRow> ListSteps(const std::vector<ListedRow>& listed, std::vector<ListEvent> events,
                                RowOrdering ordering);

}  // namespace korvana
