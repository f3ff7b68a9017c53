// The second half of a crease transfer: the crease edges looked up among the
// edges of a Maya ASCII scene, and the scene's edge crease statement
// rewritten to list them.
#pragma once

#include "CreaseReport.h"
#include "EdgeSet.h"

namespace creases {

// Rewrites the scene file at `scenePath` with a new crease statement for
// `creaseEdges`, in place of the old one; every other line passes through.
// Answers `groupCount` when the scene was rewritten, PELLANDO_FAILED when it
// cannot be opened or read, PELLANDO_NO_EDGE_LIST when it has neither an
// edge list nor a crease statement (the file is left as it was), and
// PELLANDO_CANNOT_WRITE when it cannot be written (left as it was). With a
// report, also tells what it found (see CreaseReport).
float WriteSceneCreases(const char* scenePath, const EdgeSet& creaseEdges, int groupCount,
                        CreaseReport* report = nullptr);

}  // namespace creases
