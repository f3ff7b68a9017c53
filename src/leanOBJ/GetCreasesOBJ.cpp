#include <memory>

#include "GroupBoundaries.h"
#include "SceneCreases.h"
#include "SideWork.h"
#include "leanOBJ.h"
#include "pellando.h"

namespace {

// The share of a split mesh read by this thread: more than half when the
// second thread copies the scene first.
constexpr double kHeadShare = 0.5;
constexpr double kHeadShareAfterCopy = 0.57;

}  // namespace

float GetCreasesOBJ(const char* objPath, const char* scenePath, char groupChar) {
    creases::SceneRewrite scene(scenePath);
    creases::MeshReading mesh(objPath, groupChar);
    mesh.split(scene.copiesAhead() ? kHeadShareAfterCopy : kHeadShare);
    // A second thread copies a large scene into its replacement, then reads
    // the tail of a large mesh, while this one reads its head. It ends before
    // the call does (below, or when `side` goes on a failure).
    std::unique_ptr<creases::SideWork> side;
    if (scene.copiesAhead() || mesh.isSplit()) {
        side.reset(new creases::SideWork([&scene, &mesh](const creases::SideWork& work) {
            scene.copy(&work);
            mesh.readTail(work);
        }));
    }
    mesh.readHead();
    if (side) {
        // A head that failed decides the result: the other thread is stopped.
        if (mesh.headFailed()) side.reset();
        else side->wait();
    }
    creases::GroupBoundaries boundaries = mesh.finish();
    // On a failure, or without crease edges, the scene is left as it was.
    if (boundaries.status != PELLANDO_OK) return boundaries.status;
    if (boundaries.edges.empty()) return PELLANDO_NO_CREASE_EDGES;
    return scene.finish(boundaries.edges, boundaries.groupCount);
}
