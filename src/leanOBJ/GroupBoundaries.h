// The first half of a crease transfer: the edges where the groups of an OBJ
// mesh meet, and the open border of the mesh.
#pragma once

#include <cstdint>

#include "EdgeSet.h"

namespace creases {

// At most this many distinct group lines are numbered.
constexpr int kMaxGroups = 8191;

struct GroupBoundaries {
    float status = 0;     // PELLANDO_OK, PELLANDO_FAILED or PELLANDO_TOO_MANY_GROUPS
    int groupCount = 0;   // distinct group lines read
    std::int64_t vertexLines = 0;  // "v" + blank lines read
    EdgeSet edges;        // the crease edges: every group's boundary, merged
};

// Reads the OBJ file at `objPath`. A line whose first byte is `groupChar`
// starts (or returns to) the group named by its whole text; faces read before
// the first group line belong to the first group. Every face toggles its
// edges in its group's edge set, so each group keeps the edges its faces use
// an odd number of times: where it meets another group, and the open border.
// Answers PELLANDO_FAILED when the file cannot be opened or read, and
// PELLANDO_TOO_MANY_GROUPS at the first new group line beyond kMaxGroups.
GroupBoundaries FindGroupBoundaries(const char* objPath, char groupChar);

}  // namespace creases
