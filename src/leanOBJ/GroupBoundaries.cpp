#include "GroupBoundaries.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "FaceEdges.h"
#include "pellando.h"
#include "textio/TextReader.h"

namespace creases {

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

    std::string_view line;
    while (obj.next(line)) {
        if (line.empty()) continue;
        if (line[0] == groupChar) {
            auto found = groupNumbers.find(std::string(line));
            if (found != groupNumbers.end()) {
                current = found->second;
                continue;
            }
            if (result.groupCount + 1 > kMaxGroups) {
                result.status = PELLANDO_TOO_MANY_GROUPS;
                return result;
            }
            groupNumbers.emplace(line, result.groupCount);
            current = result.groupCount++;
            if (groupEdges.size() <= static_cast<std::size_t>(current)) groupEdges.resize(current + 1);
        } else if (line[0] == 'f') {
            EdgeSet& edges = groupEdges[current];
            VisitFaceEdges(line, vertexLines, [&edges](std::int32_t a, std::int32_t b) {
                edges.toggle(MakeEdge(a, b));
            });
        } else if (line[0] == 'v' && line.size() > 1 && line[1] == ' ') {
            ++vertexLines;
        }
    }
    result.vertexLines = vertexLines;
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
