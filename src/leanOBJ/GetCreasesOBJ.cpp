#include <cstdint>
#include <memory>

#include "CreaseReport.h"
#include "GroupBoundaries.h"
#include "SceneCreases.h"
#include "SideWork.h"
#include "leanOBJ.h"
#include "pellando.h"

float GetCreasesOBJ(const char* objPath, const char* scenePath, char groupChar) {
    return creases::TransferCreases(objPath, scenePath, groupChar, nullptr);
}

namespace creases {

float TransferCreases(const char* objPath, const char* scenePath, char groupChar, CreaseReport* report) {
    // A dry run writes and creates nothing, so nothing is copied ahead.
    SceneRewrite scene(scenePath, report && report->dryRun ? UINT64_MAX : kCopyAheadFrom);
    MeshReading mesh(objPath, groupChar);
    // A second thread copies a large scene into its replacement, then reads
    // the tail of a large mesh, while this one reads its head. It ends before
    // the call does (below, or when `side` goes on a failure).
    std::unique_ptr<SideWork> side;
    if (scene.copiesAhead() || mesh.splittable()) {
        side.reset(new SideWork([&scene, &mesh](const SideWork& work) {
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
    GroupBoundaries boundaries = mesh.finish();
    if (report) {
        report->groupCount = boundaries.groupCount;
        report->meshVertices = boundaries.vertexLines;
        report->creaseEdges = boundaries.edges.size();
    }
    // On a failure, or without crease edges, the scene is left as it was.
    if (boundaries.status != PELLANDO_OK) return boundaries.status;
    if (boundaries.edges.empty()) return PELLANDO_NO_CREASE_EDGES;
    return scene.finish(boundaries.edges, boundaries.groupCount, report);
}

}  // namespace creases
