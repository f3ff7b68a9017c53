// The OBJ rewrites, telling what they changed, for a caller that shows it to
// people (the command-line program). The exports pass no counts and run the
// same code.
#pragma once

#include <cstdint>

namespace rewrites {

struct SmoothCounts {
    std::uint64_t groupsMade = 0;       // "s" lines turned into "g" lines
    std::uint64_t groupsCommented = 0;  // "g" lines turned into comments
    std::uint64_t linesDropped = 0;     // "v" lines that are no vertex position ("vt", "vn", ...)
    std::uint64_t linesKept = 0;        // all other lines, copied unchanged
};

// LeanSmoothtoGroupOBJ, counting into `counts` when it is not null.
float SmoothToGroups(const char* inputPath, const char* outputPath, SmoothCounts* counts);

struct SwapCounts {
    std::uint64_t sourceVertices = 0;   // vertex lines of the source
    std::uint64_t targetVertices = 0;   // of the target, as far as it was read (it stops beyond the source's)
    std::uint64_t linesKept = 0;        // target lines kept after the vertex lines
    std::uint64_t commentsDropped = 0;  // target comment lines
};

// LeanSwapVerts, counting into `counts` when it is not null; the counts of a
// swap that fails tell how far it got.
bool SwapVertexLines(const char* sourcePath, const char* targetPath, SwapCounts* counts);

}  // namespace rewrites
