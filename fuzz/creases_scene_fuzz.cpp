// Fuzzes the scene side of GetCreases: any bytes as the Maya scene, with a
// fixed mesh of two groups. The scene must keep every line outside its crease
// statement, a failure must leave it untouched, and a second run must change
// nothing more.
#include <string>
#include <vector>

#include "CreasesCheck.h"
#include "FuzzSupport.h"
#include "pellando.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string scene(reinterpret_cast<const char*>(data), size);
    const std::string objPath = fuzz::Path("mesh.obj"), scenePath = fuzz::Path("scene.ma");
    // Two triangles of a quad in two groups: the border and the diagonal.
    fuzz::Write(objPath, "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\ng a\nf 1 2 3\ng b\nf 1 3 4\n");
    fuzz::Write(scenePath, scene);
    std::vector<char> buffer(scenePath.begin(), scenePath.end());
    buffer.push_back('\0');

    float result = GetCreases(objPath.c_str(), 0, buffer.data());

    fuzz::Check(result == 2 || result == PELLANDO_NO_EDGE_LIST || (result == PELLANDO_FAILED && !ReferenceLines(scene)),
                "an unexpected result");
    fuzz::CheckScene(result, 2, scene, scenePath, objPath, 0);
    fuzz::Check(fuzz::Names() == std::vector<std::string>{"mesh.obj", "scene.ma"}, "a stray file in the folder");
    return 0;
}
