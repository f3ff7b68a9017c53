// The second half of a crease transfer: the crease edges looked up among the
// edges of a Maya ASCII scene, and the scene's edge crease statement
// rewritten to list them.
#pragma once

#include <cstdint>
#include <string>

#include "CreaseReport.h"
#include "EdgeSet.h"
#include "textio/FileReplacer.h"

namespace creases {

class SideWork;

// Scenes from this size on are copied ahead.
constexpr std::uint64_t kCopyAheadFrom = 1 << 20;

// The rewrite of a scene file with a new crease statement, begun before the
// crease edges are known. Where the scene's lines go to its replacement as
// they are (a regular file, under the POSIX rules) and it holds at least
// `copyAheadFrom` bytes, copy() puts its bytes there ahead, on a second
// thread while the mesh is read; finish() then reads the scene for the
// statement's place and edge numbers and splices the statement in.
// Otherwise finish() does it all in one pass. A rewrite not finished leaves
// the scene as it was.
class SceneRewrite {
public:
    explicit SceneRewrite(const char* scenePath, std::uint64_t copyAheadFrom = kCopyAheadFrom);
    SceneRewrite(const SceneRewrite&) = delete;
    SceneRewrite& operator=(const SceneRewrite&) = delete;

    bool copiesAhead() const { return copyAhead_; }

    // The copy ahead, when there is one to make; stops early when `side` is
    // stopping.
    void copy(const SideWork* side = nullptr);

    // Writes the new statement for `creaseEdges` in place of the old one;
    // every other line passes through. Answers `groupCount` when the scene
    // was rewritten, PELLANDO_FAILED when it cannot be opened or read,
    // PELLANDO_NO_EDGE_LIST when it has neither an edge list nor a crease
    // statement (the file is left as it was), and PELLANDO_CANNOT_WRITE when
    // it cannot be written (left as it was). Makes the copy ahead first if
    // copy() has not. With a report, also tells what it found (see
    // CreaseReport); a dry run only reads the scene.
    float finish(const EdgeSet& creaseEdges, int groupCount, CreaseReport* report = nullptr);

private:
    float finishInOnePass(const EdgeSet& creaseEdges, int groupCount, CreaseReport* report);

    std::string path_;
    bool copyAhead_;
    textio::FileReplacer out_;
    // What the copy found.
    bool copied_ = false, outOpened_ = false, copyRead_ = false;
};

// The same begun and finished at once.
float WriteSceneCreases(const char* scenePath, const EdgeSet& creaseEdges, int groupCount,
                        CreaseReport* report = nullptr);

}  // namespace creases
