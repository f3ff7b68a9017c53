#include "GroupBoundaries.h"
#include "SceneCreases.h"
#include "leanOBJ.h"
#include "pellando.h"

float GetCreasesOBJ(const char* objPath, const char* scenePath, char groupChar) {
    creases::GroupBoundaries boundaries = creases::FindGroupBoundaries(objPath, groupChar);
    if (boundaries.status != PELLANDO_OK) return boundaries.status;
    // No crease edge: the scene is neither read nor written.
    if (boundaries.edges.empty()) return PELLANDO_NO_CREASE_EDGES;
    return creases::WriteSceneCreases(scenePath, boundaries.edges, boundaries.groupCount);
}
