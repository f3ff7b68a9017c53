// The second half of a crease transfer: the crease edges looked up among the
// edges of a Maya ASCII scene, and the scene's edge crease statement
// rewritten to list them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "EdgeSet.h"
#include "textio/FileReplacer.h"

namespace creases {

class SideWork;

// Scenes from this size on are copied beside the reading of the mesh.
constexpr std::uint64_t kCopyBesideFrom = 1 << 20;

// The rewrite of a scene file with a new crease statement, begun before the
// crease edges are known. Where the scene's lines go to its replacement as
// they are (a regular file, under the POSIX rules) and it holds at least
// `copyBesideFrom` bytes, a second thread copies them there and puts them on
// the disk at once, while the caller reads the mesh; finish() then reads the
// scene for the statement's place and edge numbers and splices the statement
// in. Otherwise finish() does it all in one pass. A rewrite not finished
// leaves the scene as it was.
class SceneRewrite {
public:
    explicit SceneRewrite(const char* scenePath, std::uint64_t copyBesideFrom = kCopyBesideFrom);
    ~SceneRewrite();
    SceneRewrite(const SceneRewrite&) = delete;
    SceneRewrite& operator=(const SceneRewrite&) = delete;

    // Writes the new statement for `creaseEdges` in place of the old one;
    // every other line passes through. Answers `groupCount` when the scene
    // was rewritten, PELLANDO_FAILED when it cannot be opened or read,
    // PELLANDO_NO_EDGE_LIST when it has neither an edge list nor a crease
    // statement (the file is left as it was), and PELLANDO_CANNOT_WRITE when
    // it cannot be written (left as it was).
    float finish(const EdgeSet& creaseEdges, int groupCount);

private:
    float finishInOnePass(const EdgeSet& creaseEdges, int groupCount);
    void copyScene(const SideWork& side);  // on the second thread

    std::string path_;
    textio::FileReplacer out_;
    // What the copy found; read once it has ended.
    bool outOpened_ = false, copyRead_ = false;
    std::unique_ptr<SideWork> copy_;  // ended before out_ goes
};

// The same begun and finished at once.
float WriteSceneCreases(const char* scenePath, const EdgeSet& creaseEdges, int groupCount);

}  // namespace creases
