// A crease transfer that also tells what it found and did, for a caller that
// shows it to people (the command-line program). The export passes no report
// and runs the same code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "EdgeSet.h"

namespace creases {

struct CreaseReport {
    // Set by the caller.
    bool dryRun = false;     // read the scene only: no file is written or created
    bool keepEdges = false;  // fill writtenEdges and droppedEdges
    // Asked once the scene is read and the new statement's place is known,
    // before the scene is replaced; answering false leaves the scene as it
    // was (and sets stopped). Not asked in a dry run.
    std::function<bool(const CreaseReport&)> proceed;

    // The mesh.
    int groupCount = 0;               // distinct group lines
    std::int64_t meshVertices = 0;    // vertex lines ("v" + blank)
    std::size_t creaseEdges = 0;      // edges where groups meet, and the open border

    // The scene, once it was read.
    bool sceneRead = false;
    std::string meshNode;             // the `createNode mesh -n "..."` the edge list belongs to; "" when none
    std::int64_t sceneVertices = -1;  // that node's `setAttr -s N ".vt..."` count; -1 when unstated
    std::int64_t sceneEdges = 0;      // edges numbered in the edge list
    std::size_t written = 0;          // crease edges the edge list holds; the others are dropped

    enum class Placement { None, Replaced, Inserted };
    Placement placement = Placement::None;
    // Lines counted from 1. Replaced: the old statement's first and last
    // line. Inserted: the line the new statement follows (both the same).
    std::uint64_t firstLine = 0, lastLine = 0;
    std::int64_t oldEdges = -1;       // Replaced: the count the old statement announced; -1 without one

    std::vector<Edge> writtenEdges, droppedEdges;  // with keepEdges, in no particular order
    bool stopped = false;             // proceed answered false: nothing was written
};

// GetCreasesOBJ, filling `report` when it is not null. Answers what
// GetCreasesOBJ answers for the same files; a dry run, or a stop by
// proceed, answers what writing would have answered but writes nothing
// (a dry run cannot know whether the scene could be written).
float TransferCreases(const char* objPath, const char* scenePath, char groupChar, CreaseReport* report);

}  // namespace creases
