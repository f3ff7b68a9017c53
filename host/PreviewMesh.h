// What the crease preview draws of a mesh: the positions of its vertices and
// a bounded sample of its edges, read from the OBJ file as the crease
// transfer reads it (vertex lines "v" + blank counted in order, face
// references resolved against them, relative ones included).
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "leanOBJ/EdgeSet.h"

namespace cli {

struct PreviewMesh {
    std::vector<float> positions;      // x, y, z of each vertex line; NaN where unreadable
    std::vector<creases::Edge> edges;  // distinct mesh edges, all or those of a sample of faces, sorted
    std::uint64_t faces = 0;           // face lines
    bool sampled = false;              // edges holds only part of the mesh's edges
    // The box around the positions that can be drawn, by axis; lo > hi
    // when there is none.
    double lo[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL}, hi[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};

    std::size_t vertices() const { return positions.size() / 3; }

    // Whether vertex `index` (from 0) has a position that can be drawn.
    bool has(std::int64_t index) const {
        if (index < 0 || static_cast<std::size_t>(index) >= vertices()) return false;
        const float* p = &positions[3 * static_cast<std::size_t>(index)];
        return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
    }
};

// Reads the OBJ file at `path`, which has about `vertexLines` vertex lines
// (room is made for them first). Keeps at most `edgeLimit` edges: those of
// an even sample of the faces when there are more (the same for the same
// file). False when the file cannot be opened or read.
bool ReadPreviewMesh(const char* path, std::size_t edgeLimit, std::size_t vertexLines, PreviewMesh& mesh);

}  // namespace cli
