// The edges of one OBJ face line.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "ByteWords.h"
#include "Integers.h"

namespace creases {

// Calls edge(a, b) for every edge of the face line that starts at `line`
// ("f 1 2 3", "f 1/1/1 2/2/2 3/3/3") and ends at the first LF or at `end`,
// in order, the last one closing the face: a and b are zero-based vertex
// indices. `vertexLines` is the number of vertex lines read before the face,
// against which negative (relative) references count: -1 is the last vertex
// read. Answers where the line ends: its LF, or `end`. Where the vertex
// lines before are not known (`vertexLines` negative), a relative reference
// ends the visit at once: the answer is null, the edges before it visited.
//
// The two bytes after the start of the line are skipped whatever they are
// ("f1 2 3" reads 2 and 3); the rest is read as whole numbers, each after
// optional white space, up to the first text that is none. A "/" drops the
// rest of its vertex reference, up to the next blank (a tab does not end a
// reference). A line with no number adds no edge; a line with one vertex v
// gives the edge from v to itself.
// White space but the LF, which is white space to a stream but ends the
// line here.
inline bool IsSpaceInLine(char c) {
    const unsigned u = static_cast<unsigned char>(c);
    return u <= ' ' && (0x100003A00ull >> u & 1);
}

// The blank or LF after the rest of a vertex reference ("/2/3"), or `end`.
inline const char* ReferenceEnd(const char* p, const char* end) {
    for (; end - p >= 8; p += 8) {
        const std::uint64_t word = LoadWord(p);
        const std::uint64_t stop = BytesEqual(word, ' ') | BytesEqual(word, '\n');
        if (stop) return p + FirstByte(stop);
    }
    while (p != end && *p != ' ' && *p != '\n') ++p;
    return p;
}

template <class EdgeVisitor>
const char* VisitFaceEdges(const char* line, const char* end, std::int64_t vertexLines, EdgeVisitor&& edge) {
    const char* p = line;
    for (int skip = 0; skip < 3; ++skip, ++p)
        if (p == end || *p == '\n') return p;  // two bytes or fewer: no number
    --p;
    // Relative references stay exact for any mesh whose indices fit 32 bits.
    const std::int64_t base = std::min<std::int64_t>(vertexLines, 2147483647);
    bool any = false;
    std::int32_t first = 0, previous = 0;
    for (;;) {
        // Mostly one blank and a short number; anything else the long way.
        if (p != end && *p == ' ') ++p;
        std::int32_t number;
        if (!ReadShortInt(p, end, number)) {
            while (p != end && IsSpaceInLine(*p)) ++p;
            if (p != end && *p == '/') {
                p = ReferenceEnd(p, end);
                continue;
            }
            if (!ReadInt(p, end, number)) break;
        }
        if (number < 0 && vertexLines < 0) return nullptr;
        std::int32_t index = number < 0 ? static_cast<std::int32_t>(base + number) : number - 1;
        if (any) {
            edge(previous, index);
        } else {
            first = index;
            any = true;
        }
        previous = index;
        // The rest of the reference ("/2/3") at once.
        if (p != end && *p == '/') p = ReferenceEnd(p, end);
    }
    if (any) edge(previous, first);
    if (p == end || *p == '\n') return p;
    const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
    return lf ? static_cast<const char*>(lf) : end;
}

// The same for a line without its line end.
template <class EdgeVisitor>
void VisitFaceEdges(std::string_view line, std::int64_t vertexLines, EdgeVisitor&& edge) {
    VisitFaceEdges(line.data(), line.data() + line.size(), vertexLines, edge);
}

}  // namespace creases
