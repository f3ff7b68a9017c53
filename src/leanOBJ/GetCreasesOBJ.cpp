#include "CreaseReport.h"
#include "GroupBoundaries.h"
#include "SceneCreases.h"
#include "leanOBJ.h"
#include "pellando.h"

float GetCreasesOBJ(const char* objPath, const char* scenePath, char groupChar) {
    return creases::TransferCreases(objPath, scenePath, groupChar, nullptr);
}

namespace creases {

float TransferCreases(const char* objPath, const char* scenePath, char groupChar, CreaseReport* report) {
    GroupBoundaries boundaries = FindGroupBoundaries(objPath, groupChar);
    if (report) {
        report->groupCount = boundaries.groupCount;
        report->meshVertices = boundaries.vertexLines;
        report->creaseEdges = boundaries.edges.size();
    }
    if (boundaries.status != PELLANDO_OK) return boundaries.status;
    // No crease edge: the scene is neither read nor written.
    if (boundaries.edges.empty()) return PELLANDO_NO_CREASE_EDGES;
    return WriteSceneCreases(scenePath, boundaries.edges, boundaries.groupCount, report);
}

}  // namespace creases
