// Maya ASCII scene text laid out as Maya writes it, for test fixtures and
// benchmarks: edge lists whose first numbers stand on the setAttr line, wrapped
// over continuation lines of two tabs and a blank, ";" glued to the last
// number; meshes of more than 166 edges with a separate count statement and
// blocks of 166 edges.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace maya {

using EdgeList = std::vector<std::pair<int, int>>;

constexpr std::size_t kEdgesPerBlock = 166;

// One ".ed" statement: edges [first, first + count) of the mesh, with the
// count inline when `countInline` (a mesh of up to 166 edges).
inline void AppendEdgeBlock(std::string& out, std::size_t first, const std::pair<int, int>* edges,
                            std::size_t count, bool countInline) {
    const std::size_t last = first + count - 1;
    std::string line = "\tsetAttr ";
    if (countInline) line += "-s " + std::to_string(count) + " ";
    line += "\".ed[" + std::to_string(first) + ":" + std::to_string(last) + "]\"";
    line += first == 0 ? "  " : " ";
    bool firstOnLine = true;
    for (std::size_t i = 0; i < count; ++i) {
        for (int number : {edges[i].first, edges[i].second, 0}) {
            std::string text = std::to_string(number);
            if (line.size() + text.size() + 1 > 96) {
                out += line;
                out += '\n';
                line = "\t\t ";
                firstOnLine = true;
            }
            if (!firstOnLine) line += ' ';
            line += text;
            firstOnLine = false;
        }
    }
    out += line;
    out += ";\n";
}

// The whole edge list of a mesh.
inline void AppendEdgeList(std::string& out, const EdgeList& edges) {
    if (edges.size() <= kEdgesPerBlock) {
        AppendEdgeBlock(out, 0, edges.data(), edges.size(), true);
        return;
    }
    out += "\tsetAttr -s " + std::to_string(edges.size()) + " \".ed\";\n";
    for (std::size_t first = 0; first < edges.size(); first += kEdgesPerBlock) {
        std::size_t count = edges.size() - first < kEdgesPerBlock ? edges.size() - first : kEdgesPerBlock;
        AppendEdgeBlock(out, first, edges.data() + first, count, false);
    }
}

inline const char* EmptyCreaseStatement() { return "\tsetAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge 0 ;\n"; }

inline void AppendSceneStart(std::string& out, const std::string& name) {
    out += "//Maya ASCII 2024 scene\n//Name: " + name + "\n//Codeset: UTF-8\nrequires maya \"2024\";\n";
    out += "currentUnit -l centimeter -a degree -t film;\n";
}

inline void AppendMeshStart(std::string& out, const std::string& name) {
    out += "createNode transform -n \"" + name + "\";\n";
    out += "createNode mesh -n \"" + name + "Shape\" -p \"" + name + "\";\n";
    out += "\tsetAttr -k off \".v\";\n\tsetAttr \".uvst[0].uvsn\" -type \"string\" \"map1\";\n";
    out += "\tsetAttr -s 4 \".vt[0:3]\"  -0.5 -0.5 0.5 0.5 -0.5 0.5 -0.5 0.5 0.5 0.5 0.5 0.5;\n";
}

// What follows the edge list of a mesh up to its crease statement.
inline void AppendFaceList(std::string& out) {
    out += "\tsetAttr -s 1 -ch 4 \".fc[0]\" -type \"polyFaces\" \n\t\tf 4 0 1 2 3\n\t\tmu 0 4 0 1 3 2;\n";
}

// What follows the crease statement of a mesh.
inline void AppendMeshEnd(std::string& out) {
    out += "\tsetAttr \".cvd\" -type \"dataPolyComponent\" Index_Data Vertex 0 ;\n";
    out += "\tsetAttr \".pd[0]\" -type \"dataPolyComponent\" Index_Data UV 0 ;\n";
    out += "\tsetAttr \".hfd\" -type \"dataPolyComponent\" Index_Data Face 0 ;\n";
}

inline void AppendSceneEnd(std::string& out, const std::string& name) {
    out += "createNode lightLinker -s -n \"lightLinker1\";\n\tsetAttr -s 2 \".lnk\";\n";
    out += "// End of " + name + "\n";
}

// A scene with one mesh of these edges and this crease statement.
inline std::string Scene(const EdgeList& edges, const std::string& creaseStatement = EmptyCreaseStatement()) {
    std::string out;
    AppendSceneStart(out, "scene.ma");
    AppendMeshStart(out, "mesh");
    AppendEdgeList(out, edges);
    AppendFaceList(out);
    out += creaseStatement;
    AppendMeshEnd(out);
    AppendSceneEnd(out, "scene.ma");
    return out;
}

}  // namespace maya
