// Fuzzes the mesh side of GetCreases: any bytes as the OBJ file (the first
// byte also picks groups or smoothing groups), with a fixed Maya scene that
// lists every edge among the vertex indices -2 to 9. The crease edges found
// must be those of a plain reading of the same rules.
#include <map>
#include <string>
#include <vector>

#include "CreasesCheck.h"
#include "FuzzSupport.h"
#include "MayaScene.h"
#include "ReferenceCreases.h"
#include "pellando.h"

namespace {

// Every pair of indices from -2 to 9, self-pairs included, a third of them
// with the larger first, and a few listed twice.
const maya::EdgeList& SceneEdges() {
    static const maya::EdgeList edges = [] {
        maya::EdgeList list;
        for (int a = -2; a <= 9; ++a)
            for (int b = a; b <= 9; ++b) list.push_back(list.size() % 3 == 1 ? std::make_pair(b, a) : std::make_pair(a, b));
        list.push_back({9, 0});
        list.push_back({1, 2});
        return list;
    }();
    return edges;
}

std::string Statement(const std::vector<int>& numbers) {
    std::string text = "  setAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge " +
                       std::to_string(numbers.size()) + "\n ";
    for (int number : numbers) text += std::to_string(number) + " 1000 ";
    return text + " ;\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string obj(reinterpret_cast<const char*>(data), size);
    const bool smoothing = size > 0 && (data[0] & 1);
    const std::string objPath = fuzz::Path("mesh.obj"), scenePath = fuzz::Path("scene.ma");
    const std::string scene = maya::Scene(SceneEdges());
    fuzz::Write(objPath, obj);
    fuzz::Write(scenePath, scene);
    std::vector<char> buffer(scenePath.begin(), scenePath.end());
    buffer.push_back('\0');

    float result = GetCreases(objPath.c_str(), smoothing ? 1 : 0, buffer.data());

    ReferenceBoundaries plain = ReferenceGroupBoundaries(obj, smoothing ? 's' : 'g');
    if (plain.status != 0) {
        fuzz::Check(result == plain.status, "the result differs from the plain reading's failure");
    } else if (plain.edges.empty()) {
        fuzz::Check(result == PELLANDO_NO_CREASE_EDGES, "no crease edges but not -4");
    } else {
        fuzz::Check(result == plain.groups, "the group count differs from the plain reading");
        std::map<std::pair<int, int>, int> first;
        for (std::size_t i = 0; i < SceneEdges().size(); ++i)
            first.emplace(std::minmax(SceneEdges()[i].first, SceneEdges()[i].second), static_cast<int>(i));
        std::vector<int> numbers;
        for (const auto& edge : plain.edges)
            if (first.count(edge)) numbers.push_back(first[edge]);
        std::sort(numbers.begin(), numbers.end());
        fuzz::Check(fuzz::Read(scenePath) == platform::Native(maya::Scene(SceneEdges(), Statement(numbers))),
                    "the crease statement differs from the plain reading's");
    }
    if (result >= 0 || result == PELLANDO_NO_CREASE_EDGES || result == PELLANDO_TOO_MANY_GROUPS)
        fuzz::CheckScene(result, plain.groups, scene, scenePath, objPath, smoothing ? 1 : 0);
    fuzz::Check(fuzz::Names() == std::vector<std::string>{"mesh.obj", "scene.ma"}, "a stray file in the folder");
    return 0;
}
