#include "GroupBoundaries.h"

#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "FaceEdges.h"
#include "pellando.h"
#include "textio/TextReader.h"

namespace creases {

namespace {

// The LF that ends the line at p, or `end`.
const char* LineEnd(const char* p, const char* end) {
    const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
    return lf ? static_cast<const char*>(lf) : end;
}

}  // namespace

GroupBoundaries FindGroupBoundaries(const char* objPath, char groupChar) {
    GroupBoundaries result;
    textio::TextReader obj;
    if (!obj.open(objPath)) {
        result.status = PELLANDO_FAILED;
        return result;
    }
    // One small set per group: the faces of a group mostly come together,
    // and the set being toggled then stays in the cache.
    std::unordered_map<std::string, int> groupNumbers;
    std::vector<EdgeSet> groupEdges(1);
    int current = 0;
    std::int64_t vertexLines = 0;

    // Whole runs of lines at a time: most lines are vertex data, skipped with
    // one search for their end, and a face line is read up to its end.
    std::string_view lines;
    while (obj.nextLines(lines)) {
        const char* p = lines.data();
        const char* const end = p + lines.size();
        while (p != end) {
            const char* lf;
            if (*p == '\n' || (textio::kWindowsTextRules && *p == '\r' && p + 1 != end && p[1] == '\n')) {
                lf = *p == '\n' ? p : p + 1;  // an empty line
            } else if (*p == groupChar) {
                lf = LineEnd(p, end);
                std::string_view line(p, static_cast<std::size_t>(lf - p));
                if (textio::kWindowsTextRules && lf != end && line.back() == '\r') line.remove_suffix(1);
                auto found = groupNumbers.find(std::string(line));
                if (found != groupNumbers.end()) {
                    current = found->second;
                } else {
                    if (result.groupCount + 1 > kMaxGroups) {
                        result.status = PELLANDO_TOO_MANY_GROUPS;
                        return result;
                    }
                    groupNumbers.emplace(line, result.groupCount);
                    current = result.groupCount++;
                    if (groupEdges.size() <= static_cast<std::size_t>(current)) groupEdges.resize(current + 1);
                }
            } else if (*p == 'f') {
                EdgeSet& edges = groupEdges[current];
                lf = VisitFaceEdges(p, end, vertexLines, [&edges](std::int32_t a, std::int32_t b) {
                    edges.toggle(MakeEdge(a, b));
                });
            } else {
                if (*p == 'v' && p + 1 != end && p[1] == ' ') ++vertexLines;
                lf = LineEnd(p, end);
            }
            p = lf == end ? end : lf + 1;
        }
    }
    if (obj.failed()) {
        result.status = PELLANDO_FAILED;
        return result;
    }
    // Only numbered groups count: a file without group lines has no creases.
    std::size_t total = 0;
    for (int group = 0; group < result.groupCount; ++group) total += groupEdges[group].size();
    result.edges.reserve(total);
    for (int group = 0; group < result.groupCount; ++group) {
        groupEdges[group].forEach([&result](Edge e) { result.edges.insert(e); });
        groupEdges[group] = EdgeSet();
    }
    result.status = PELLANDO_OK;
    return result;
}

}  // namespace creases
