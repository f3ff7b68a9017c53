// The edges of one OBJ face line.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "Integers.h"

namespace creases {

// Calls edge(a, b) for every edge of the face line `line` ("f 1 2 3",
// "f 1/1/1 2/2/2 3/3/3"), in order, the last one closing the face: a and b
// are zero-based vertex indices. `vertexLines` is the number of vertex lines
// read before the face, against which negative (relative) references count:
// -1 is the last vertex read.
//
// The two bytes after the start of the line are skipped whatever they are
// ("f1 2 3" reads 2 and 3); the rest is read as whole numbers, each after
// optional white space, up to the first text that is none. A "/" drops the
// rest of its vertex reference, up to the next blank (a tab does not end a
// reference). A line with no number adds no edge; a line with one vertex v
// gives the edge from v to itself.
template <class EdgeVisitor>
void VisitFaceEdges(std::string_view line, std::int64_t vertexLines, EdgeVisitor&& edge) {
    if (line.size() <= 2) return;
    const char* p = line.data() + 2;
    const char* const end = line.data() + line.size();
    // Relative references stay exact for any mesh whose indices fit 32 bits.
    const std::int64_t base = std::min<std::int64_t>(vertexLines, 2147483647);
    bool any = false;
    std::int32_t first = 0, previous = 0;
    for (;;) {
        while (p != end && IsSpace(*p)) ++p;
        if (p != end && *p == '/') {
            while (p != end && *p != ' ') ++p;
            continue;
        }
        std::int32_t number;
        if (!ReadInt(p, end, number)) break;
        std::int32_t index = number < 0 ? static_cast<std::int32_t>(base + number) : number - 1;
        if (any) {
            edge(previous, index);
        } else {
            first = index;
            any = true;
        }
        previous = index;
    }
    if (any) edge(previous, first);
}

}  // namespace creases
