#include "GroupBoundaries.h"
#include "SceneCreases.h"
#include "leanOBJ.h"
#include "pellando.h"

float GetCreasesOBJ(const char* objPath, const char* scenePath, char groupChar) {
    // Begun first: a large scene is copied into its replacement while the
    // mesh is read.
    creases::SceneRewrite scene(scenePath);
    creases::GroupBoundaries boundaries = creases::FindGroupBoundaries(objPath, groupChar);
    // On a failure, or without crease edges, the scene is left as it was.
    if (boundaries.status != PELLANDO_OK) return boundaries.status;
    if (boundaries.edges.empty()) return PELLANDO_NO_CREASE_EDGES;
    return scene.finish(boundaries.edges, boundaries.groupCount);
}
