#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Child.h"
#include "MayaScene.h"
#include "Platform.h"
#include "Plugin.h"
#include "Scratch.h"

namespace {

namespace fs = std::filesystem;
using platform::Native;
using Names = std::vector<std::string>;

// One quad in one group: its four border edges are the crease edges.
const char kQuadObj[] = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\ng a\nf 1 2 3 4\n";
const maya::EdgeList kQuadEdges = {{0, 1}, {1, 2}, {2, 3}, {3, 0}};

// The crease statement the library writes, with LF line ends.
std::string Statement(const std::vector<int>& numbers) {
    std::string text = "  setAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge " +
                       std::to_string(numbers.size()) + "\n ";
    for (int number : numbers) text += std::to_string(number) + " 1000 ";
    return text + " ;\n";
}

float Creases(const std::string& obj, double number, const std::string& scene) {
    return Call("GetCreases", obj.c_str(), number, scene.c_str());
}

// Runs GetCreases on an OBJ text and a scene text in a scratch folder.
struct Transfer {
    Scratch scratch;
    float result;
    Transfer(const std::string& obj, const std::string& scene, double number = 0) {
        scratch.write("mesh.obj", obj);
        scratch.write("scene.ma", scene);
        result = Creases(scratch.path("mesh.obj"), number, scratch.path("scene.ma"));
    }
    std::string scene() const { return scratch.read("scene.ma"); }
};

TEST(GetCreasesTest, NullPathsAnswerMinusSevenWhateverTheNumber) {
    Scratch scratch;
    scratch.write("mesh.obj", kQuadObj);
    scratch.write("scene.ma", maya::Scene(kQuadEdges));
    std::string obj = scratch.path("mesh.obj"), scenePath = scratch.path("scene.ma");
    std::vector<char> scene(scenePath.begin(), scenePath.end());
    scene.push_back('\0');
    auto creases = Export("GetCreases");
    for (double number : {0.0, 1.0, double(NAN), -5.0}) {
        EXPECT_EQ(creases(nullptr, number, scene.data()), PELLANDO_CREASES_NULL_POINTER);
        EXPECT_EQ(creases(obj.c_str(), number, nullptr), PELLANDO_CREASES_NULL_POINTER);
        EXPECT_EQ(creases(nullptr, number, nullptr), PELLANDO_CREASES_NULL_POINTER);
    }
    EXPECT_EQ(scratch.read("scene.ma"), maya::Scene(kQuadEdges));
}

// A mesh whose smoothing groups have a boundary and which has no group line:
// grouping by groups finds nothing (-4), by smoothing groups it succeeds.
TEST(GetCreasesTest, NumberChoosesSmoothingGroupsAboveZeroAfterTruncation) {
    const std::string obj = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\ns 1\nf 1 2 3 4\n";
    const double inf = std::numeric_limits<double>::infinity();
    for (double number : {0.0, 0.999, -0.5, -3.0, double(NAN), 3.0e9, -3.0e9, inf, -inf, 2147483648.0}) {
        Transfer transfer(obj, maya::Scene(kQuadEdges), number);
        EXPECT_EQ(transfer.result, PELLANDO_NO_CREASE_EDGES) << number;
        EXPECT_EQ(transfer.scene(), maya::Scene(kQuadEdges));
    }
    for (double number : {1.0, 1.5, 2147483647.0, 2147483647.9}) {
        Transfer transfer(obj, maya::Scene(kQuadEdges), number);
        EXPECT_EQ(transfer.result, 1.0f) << number;
    }
}

// The worked example: an edge-count line, an edge block line with its numbers
// on the next line, the old statement as a marker line and a list line. The
// edge 0 3 is found although the scene lists it as 3 0.
TEST(GetCreasesTest, ReplacesTheMarkedStatementWithTheEdgeNumbersFound) {
    const std::string before = "//Maya ASCII scene\n"
                               "\tsetAttr -s 4 \".ed\";\n"
                               "\tsetAttr \".ed[0:3]\"\n"
                               "\t\t0 1 0 1 2 0 2 3 0 3 0 1;\n"
                               "\tsetAttr \".fc[0]\" -type \"polyFaces\" f 4 0 1 2 3;\n";
    const std::string after = "// End\n";
    Transfer transfer(kQuadObj, before + "  \tsetAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge 1\n 2 1000  ;\n" + after);
    EXPECT_EQ(transfer.result, 1.0f);
    EXPECT_EQ(transfer.scene(), Native(before + Statement({0, 1, 2, 3}) + after));
}

// A 2 x 2 grid of quads, left column in one group, right column in the other:
// every edge but the two inner horizontal ones is a crease edge.
TEST(GetCreasesTest, MayaSceneGetsTheRightEdgeNumbersAndASecondRunChangesNothing) {
    const std::string obj = "v 0 0 0\nv 1 0 0\nv 2 0 0\nv 0 1 0\nv 1 1 0\nv 2 1 0\nv 0 2 0\nv 1 2 0\nv 2 2 0\n"
                            "g left\nf 1 2 5 4\ng right\nf 2 3 6 5\ng left\nf 4 5 8 7\ng right\nf 5 6 9 8\n";
    const maya::EdgeList edges = {{0, 1}, {2, 1}, {3, 4}, {5, 4}, {6, 7}, {8, 7},
                                  {0, 3}, {4, 1}, {2, 5}, {3, 6}, {7, 4}, {5, 8}};
    const std::string tabbed = "\tsetAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge 0 ;\n";
    Transfer transfer(obj, maya::Scene(edges, tabbed));
    EXPECT_EQ(transfer.result, 2.0f);
    const std::string once = Native(maya::Scene(edges, Statement({0, 1, 4, 5, 6, 7, 8, 9, 10, 11})));
    EXPECT_EQ(transfer.scene(), once);
    EXPECT_EQ(Creases(transfer.scratch.path("mesh.obj"), 0, transfer.scratch.path("scene.ma")), 2.0f);
    EXPECT_EQ(transfer.scene(), once);
    EXPECT_EQ(transfer.scratch.names(), (Names{"mesh.obj", "scene.ma"}));
}

// A larger grid whose edge list takes several 166-edge blocks, edges listed in
// both vertex orders, quadrants as groups: checked against a plain reckoning
// of group boundaries with ordered sets. On the larger grid the crease edges
// found lie hundreds of edge numbers apart.
TEST(GetCreasesTest, MatchesAPlainReckoningOnAMultiBlockScene) {
  for (const int n : {24, 150}) {  // quads per side
    auto vertex = [n](int x, int y) { return y * (n + 1) + x; };
    std::string obj;
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x) obj += "v " + std::to_string(x) + " " + std::to_string(y) + " 0\n";
    std::map<int, std::set<std::pair<int, int>>> parity;  // group -> edges used an odd number of times
    unsigned state = 99;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            int group = (x < n / 3 ? 0 : 1) + (y < n / 2 ? 0 : 2);
            obj += "g quadrant" + std::to_string(group) + "\n";
            int corners[4] = {vertex(x, y), vertex(x + 1, y), vertex(x + 1, y + 1), vertex(x, y + 1)};
            obj += "f";
            for (int i = 0; i < 4; ++i) {
                // Absolute and relative references, with and without "/" parts.
                state = state * 1103515245u + 12345u;
                int number = (state >> 16) % 2 ? corners[i] + 1 : corners[i] - (n + 1) * (n + 1);
                obj += " " + std::to_string(number) + ((state >> 17) % 2 ? "/1/1" : "");
                auto edge = std::minmax(corners[i], corners[(i + 1) % 4]);
                if (!parity[group].insert(edge).second) parity[group].erase(edge);
            }
            obj += "\n";
        }
    }
    maya::EdgeList edges;
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x) {
            if (x < n) edges.emplace_back(vertex(x, y), vertex(x + 1, y));
            if (y < n) edges.emplace_back(vertex(x, y + 1), vertex(x, y));
        }
    std::set<std::pair<int, int>> creases;
    for (auto& [group, set] : parity) creases.insert(set.begin(), set.end());
    std::vector<int> expected;
    for (std::size_t i = 0; i < edges.size(); ++i)
        if (creases.count(std::minmax(edges[i].first, edges[i].second))) expected.push_back(static_cast<int>(i));
    ASSERT_GT(edges.size(), 3 * maya::kEdgesPerBlock);

    Transfer transfer(obj, maya::Scene(edges));
    EXPECT_EQ(transfer.result, 4.0f);
    EXPECT_EQ(transfer.scene(), Native(maya::Scene(edges, Statement(expected))));

    // The same mesh twice in one scene: the second edge list numbers its
    // edges afresh, and the crease edges found in the first are found again.
    auto twoMeshes = [&edges](const std::string& secondStatement) {
        std::string scene;
        maya::AppendSceneStart(scene, "two.ma");
        for (const char* name : {"first", "second"}) {
            maya::AppendMeshStart(scene, name);
            maya::AppendEdgeList(scene, edges);
            maya::AppendFaceList(scene);
            scene += name == std::string("first") ? maya::EmptyCreaseStatement() : secondStatement;
            maya::AppendMeshEnd(scene);
        }
        maya::AppendSceneEnd(scene, "two.ma");
        return scene;
    };
    Transfer twice(obj, twoMeshes(maya::EmptyCreaseStatement()));
    EXPECT_EQ(twice.result, 4.0f);
    EXPECT_EQ(twice.scene(), Native(twoMeshes(Statement(expected))));
  }
}

// The statement replaced runs from its first line through the line ending in
// ";", over lines holding only numbers; a line with other text ends it.
TEST(GetCreasesTest, ReplacesTheWholeOldStatementAndNothingElse) {
    struct Case {
        const char* name;
        std::string old;   // the crease statement and what follows it in the mesh
        std::string kept;  // what must remain of that after the new statement
    };
    const std::string cvd = "\tsetAttr \".cvd\" -type \"dataPolyComponent\" Index_Data Vertex 0 ;\n";
    const std::vector<Case> cases = {
        {"one pair per line", "\tsetAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge 2 \n\t\t0 1.9 \n\t\t3 1.9 ;\n" + cvd, cvd},
        {"head without trailing blank", "\tsetAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge 1\n\t\t2 5e+00 ;\n" + cvd, cvd},
        {"one line", "\tsetAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge 0 ;\n" + cvd, cvd},
        {"ended by another statement", "\tsetAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge 1\n" + cvd, cvd},
        {"own earlier output", Statement({7}) + cvd, cvd},
        {"blanks after the semicolon", "\tsetAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge 1\n\t\t0 2 ;  \t\n" + cvd, cvd},
    };
    for (const Case& c : cases) {
        std::string start, end;
        maya::AppendSceneStart(start, "scene.ma");
        maya::AppendMeshStart(start, "mesh");
        maya::AppendEdgeList(start, kQuadEdges);
        maya::AppendFaceList(start);
        maya::AppendSceneEnd(end, "scene.ma");
        Transfer transfer(kQuadObj, start + c.old + end);
        EXPECT_EQ(transfer.result, 1.0f) << c.name;
        EXPECT_EQ(transfer.scene(), Native(start + Statement({0, 1, 2, 3}) + c.kept + end)) << c.name;
    }
}

// A statement with no ";" at all runs to the end of the file.
TEST(GetCreasesTest, AStatementLeftOpenRunsToTheEndOfTheFile) {
    std::string start;
    maya::AppendSceneStart(start, "scene.ma");
    maya::AppendMeshStart(start, "mesh");
    maya::AppendEdgeList(start, kQuadEdges);
    Transfer transfer(kQuadObj, start + "\tsetAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge 2\n\t\t0 1\n\t\t1 1");
    EXPECT_EQ(transfer.result, 1.0f);
    EXPECT_EQ(transfer.scene(), Native(start + Statement({0, 1, 2, 3})));
}

// Which statement goes: the last one with the marker of two blanks and a tab
// anywhere; without one, the last `setAttr ".cd"` of the last mesh; without
// that, the new statement goes right after the last edge block.
TEST(GetCreasesTest, ChoosesTheStatementToReplace) {
    const std::string marked = "  \tsetAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge 0 ;\n";
    const std::string maya = maya::EmptyCreaseStatement();
    auto scene = [](const std::string& firstCreases, const std::string& secondCreases) {
        std::string out;
        maya::AppendSceneStart(out, "scene.ma");
        maya::AppendMeshStart(out, "first");
        maya::AppendEdgeList(out, {{5, 6}, {6, 7}});
        maya::AppendFaceList(out);
        out += firstCreases;
        maya::AppendMeshStart(out, "second");
        maya::AppendEdgeList(out, kQuadEdges);
        maya::AppendFaceList(out);
        out += secondCreases;
        maya::AppendMeshEnd(out);
        maya::AppendSceneEnd(out, "scene.ma");
        return out;
    };
    const std::string found = Statement({0, 1, 2, 3});
    struct Case {
        const char* name;
        std::string before, after;
    };
    std::vector<Case> cases = {
        {"the last mesh's own", scene(maya, maya), scene(maya, found)},
        {"the marked one, even in an earlier mesh", scene(marked, maya), scene(found, maya)},
        {"the last of two marked ones", scene(marked, marked), scene(marked, found)},
        {"none in the last mesh: after its edges", scene(maya, ""), scene(maya, "")},
    };
    // Right after the last mesh's edge list, before its face list.
    std::string& inserted = cases.back().after;
    inserted.insert(inserted.find("\tsetAttr -s 1 -ch 4", inserted.find("second")), found);
    for (const Case& c : cases) {
        Transfer transfer(kQuadObj, c.before);
        EXPECT_EQ(transfer.result, 1.0f) << c.name;
        EXPECT_EQ(transfer.scene(), Native(c.after)) << c.name;
    }
}

// Replacing a line of the edge list would cut edges out of it, and a second
// run would then number the edges differently.
TEST(GetCreasesTest, AnEdgeListLineIsNeverTakenForTheCreaseStatement) {
    const std::string obj = "v 0 0 0\nv 1 0 0\nv 1 1 0\ng a\nf 1 2 3\n";
    for (const std::string block : {"\tsetAttr \".cd\" \".ed[0:1]\"  0 1 0 1 2 0;\n",
                                    "  \tsetAttr \".cd\" \".ed[0:1]\"  0 1 0 1 2 0;\n"}) {
        const std::string start = "\tsetAttr -s 2 \".ed\";\n" + block;
        Transfer transfer(obj, start + "// End\n");
        EXPECT_EQ(transfer.result, 1.0f) << block;
        const std::string once = Native(start + Statement({0, 1}) + "// End\n");
        EXPECT_EQ(transfer.scene(), once) << block;
        EXPECT_EQ(Creases(transfer.scratch.path("mesh.obj"), 0, transfer.scratch.path("scene.ma")), 1.0f);
        EXPECT_EQ(transfer.scene(), once) << block;
    }
}

TEST(GetCreasesTest, SceneWithoutEdgesOrCreasesIsLeftAsItWas) {
    const std::string scene = "//Maya ASCII 2024 scene\ncreateNode transform -n \"empty\";\n// End\n";
    Transfer transfer(kQuadObj, scene);
    EXPECT_EQ(transfer.result, PELLANDO_NO_EDGE_LIST);
    EXPECT_EQ(transfer.scene(), scene);
    EXPECT_EQ(transfer.scratch.names(), (Names{"mesh.obj", "scene.ma"}));
}

// Numbers as formatted extraction reads them: the edge table starts at the
// last edge-count line; an unfinished triple is dropped; an edge listed twice
// keeps its first number but uses up a number; "+1" and "007" are 1 and 7.
TEST(GetCreasesTest, ReadsEdgeNumbersAsTheSceneListsThem) {
    struct Case {
        const char* name;
        std::string edges;
        std::vector<int> found;
    };
    const std::vector<Case> cases = {
        {"numbers on the setAttr line and after", "\tsetAttr -s 4 \".ed[0:3]\"  0 1 0 1\n\t\t 2 0 2 3 0\n\t\t 3 0 0;\n", {0, 1, 2, 3}},
        {"a triple split over two lines", "\tsetAttr -s 4 \".ed[0:3]\"  9 9 0 0\n\t\t 1 0 1 2 0 3 2 0;\n", {1, 2, 3}},
        {"blocks run on", "\tsetAttr -s 4 \".ed\";\n\tsetAttr \".ed[0:1]\"  9 8 0 0 1 0;\n\tsetAttr \".ed[2:3]\" 1 2 0 2 3 1;\n", {1, 2, 3}},
        {"the last edge-count line counts", "\tsetAttr -s 2 \".ed[0:1]\"  0 1 0 1 2 0;\n\tsetAttr -s 2 \".ed[0:1]\"  5 6 0 0 3 0;\n", {1}},
        {"a repeated edge keeps its first number", "\tsetAttr -s 4 \".ed[0:3]\"  1 0 0 0 1 0 3 2 0 2 1 0;\n", {0, 2, 3}},
        {"an unfinished triple is dropped", "\tsetAttr -s 3 \".ed[0:0]\"  0 1 0 7;\n\tsetAttr \".ed[1:2]\" 2 3 0 1 2 0;\n", {0, 1, 2}},
        {"sign and leading zeros", "\tsetAttr -s 2 \".ed[0:1]\"  +00 01 0 0002 +3 1;\n", {0, 1}},
        {"text ends the block", "\tsetAttr -s 3 \".ed[0:2]\"  0 1 0 x 1 2 0;\n", {0}},
        {"a number beyond 32 bits ends the block", "\tsetAttr -s 3 \".ed[0:2]\"  0 1 0 4294967296 1 0 1 2 0;\n", {0}},
    };
    for (const Case& c : cases) {
        std::string scene = "//Maya ASCII 2024 scene\n" + c.edges + maya::EmptyCreaseStatement() + "// End\n";
        Transfer transfer(kQuadObj, scene);
        EXPECT_EQ(transfer.result, 1.0f) << c.name;
        std::string expected = "//Maya ASCII 2024 scene\n" + c.edges + Statement(c.found) + "// End\n";
        EXPECT_EQ(transfer.scene(), Native(expected)) << c.name;
    }
}

// The grouping of faces: the crease edges for each mesh are the edges the
// scene numbers in `found`.
TEST(GetCreasesTest, GroupsFacesByTheirGroupLines) {
    // Scene edges 0..5: 0-1 1-2 2-3 3-0 0-2 1-3 (a quad, its diagonals).
    const maya::EdgeList edges = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}, {1, 3}};
    const std::string v = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n";
    struct Case {
        const char* name;
        std::string obj;
        float result;
        std::vector<int> found;
    };
    const std::vector<Case> cases = {
        {"two triangles, two groups: the diagonal too", v + "g a\nf 1 2 3\ng b\nf 1 3 4\n", 2, {0, 1, 2, 3, 4}},
        {"two triangles, one group: the border", v + "g a\nf 1 2 3\nf 1 3 4\n", 1, {0, 1, 2, 3}},
        {"faces before the first group line join it", v + "f 1 2 3\ng a\nf 1 3 4\n", 1, {0, 1, 2, 3}},
        {"a repeated group line goes back to its group", v + "g a\nf 1 2 3\ng b\nf 2 3 4\ng a\nf 1 3 4\n", 2, {0, 1, 2, 3, 5}},
        {"relative references", v + "g a\nf -4 -3 -2\ng b\nf -4 -2 -1\n", 2, {0, 1, 2, 3, 4}},
        {"vertex, texture and normal indices", v + "g a\nf 1/1/1 2/2/2 3/3/3\ng b\nf 1//1 3//3 4//4\n", 2, {0, 1, 2, 3, 4}},
        {"a face without numbers adds nothing", v + "g a\nf\nf   \nf x\nf 1 2 3\nf 1 3 4\n", 1, {0, 1, 2, 3}},
        {"group lines differ by any byte", v + "g a\nf 1 2 3\ng  a\nf 1 3 4\n", 2, {0, 1, 2, 3, 4}},
        {"smoothing lines are not group lines here", v + "g a\ns 1\nf 1 2 3\ns 2\nf 1 3 4\n", 1, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        Transfer transfer(c.obj, maya::Scene(edges));
        EXPECT_EQ(transfer.result, c.result) << c.name;
        EXPECT_EQ(transfer.scene(), Native(maya::Scene(edges, Statement(c.found)))) << c.name;
    }
}

TEST(GetCreasesTest, NoCreaseEdgesAnswersMinusFourWithoutTouchingTheScene) {
    const std::string cube = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n";
    const std::vector<std::string> objs = {
        cube + "f 1 2 3 4\nf 5 8 7 6\n",                                        // faces, no group line
        cube + "g a\ng b\n",                                                    // groups, no faces
        cube + "g closed\nf 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n",  // a closed cube
        "",
    };
    for (const std::string& obj : objs) {
        Transfer transfer(obj, "not even a scene");
        EXPECT_EQ(transfer.result, PELLANDO_NO_CREASE_EDGES) << obj;
        EXPECT_EQ(transfer.scene(), "not even a scene");
    }
}

// A scene of megabytes, as a large mesh has (here a long face list), is
// copied into its replacement while the mesh is read: the same file comes
// out, and a mesh that fails or has no crease edge leaves it as it was.
TEST(GetCreasesTest, LargeSceneGetsTheSameStatementAndIsLeftAsItWasOnFailure) {
    auto largeScene = [](const std::string& statement, bool lastLineEnded) {
        std::string scene;
        maya::AppendSceneStart(scene, "large.ma");
        maya::AppendMeshStart(scene, "quad");
        maya::AppendEdgeList(scene, kQuadEdges);
        const int faces = 40000;
        scene += "\tsetAttr -s " + std::to_string(faces) + " -ch " + std::to_string(4 * faces) + " \".fc[0:" +
                 std::to_string(faces - 1) + "]\" -type \"polyFaces\" ";
        for (int f = 0; f < faces; ++f) scene += "\n\t\tf 4 0 1 2 3\n\t\tmu 0 4 0 1 2 3";
        scene += ";\n" + statement;
        maya::AppendMeshEnd(scene);
        maya::AppendSceneEnd(scene, "large.ma");
        if (!lastLineEnded) scene.pop_back();
        return scene;
    };
    for (bool lastLineEnded : {true, false}) {
        const std::string scene = largeScene(maya::EmptyCreaseStatement(), lastLineEnded);
        ASSERT_GT(scene.size(), 1u << 20);
        Transfer transfer(kQuadObj, scene);
        EXPECT_EQ(transfer.result, 1.0f);
        const std::string once = Native(largeScene(Statement({0, 1, 2, 3}), true));
        EXPECT_EQ(transfer.scene(), once);
        EXPECT_EQ(Creases(transfer.scratch.path("mesh.obj"), 0, transfer.scratch.path("scene.ma")), 1.0f);
        EXPECT_EQ(transfer.scene(), once);
        EXPECT_EQ(transfer.scratch.names(), (Names{"mesh.obj", "scene.ma"}));
    }
    const std::string scene = largeScene(maya::EmptyCreaseStatement(), true);
    for (const char* obj : {"v 0 0 0\nf 1 1 1\n", "v 0 0 0\ng a\ng b\n"}) {
        Transfer transfer(obj, scene);
        EXPECT_EQ(transfer.result, PELLANDO_NO_CREASE_EDGES) << obj;
        EXPECT_EQ(transfer.scene(), scene) << obj;
        EXPECT_EQ(transfer.scratch.names(), (Names{"mesh.obj", "scene.ma"})) << obj;
    }
    Scratch scratch;
    scratch.write("scene.ma", scene);
    EXPECT_EQ(Creases(scratch.path("missing.obj"), 0, scratch.path("scene.ma")), PELLANDO_FAILED);
    EXPECT_EQ(scratch.read("scene.ma"), scene);
    EXPECT_EQ(scratch.names(), (Names{"scene.ma"}));
}

TEST(GetCreasesTest, GroupLimitIs8191DistinctGroupLines) {
    std::string obj = "v 0 0 0\nv 1 0 0\nv 1 1 0\n";
    for (int group = 0; group < 8191; ++group) obj += "g part" + std::to_string(group) + "\nf 1 2 3\n";
    obj += "g part0\ng part8190\n";  // known groups do not count again
    const std::string scene = maya::Scene({{0, 1}, {1, 2}, {2, 0}});
    {
        Transfer transfer(obj, scene);
        EXPECT_EQ(transfer.result, 8191.0f);
        EXPECT_EQ(transfer.scene(), Native(maya::Scene({{0, 1}, {1, 2}, {2, 0}}, Statement({0, 1, 2}))));
    }
    {
        Transfer transfer(obj + "g one too many\nf 1 2 3\n", scene);
        EXPECT_EQ(transfer.result, PELLANDO_TOO_MANY_GROUPS);
        EXPECT_EQ(transfer.scene(), scene);
    }
}

TEST(GetCreasesTest, FilesThatCannotBeOpenedAnswerMinusOne) {
    Scratch scratch;
    scratch.write("mesh.obj", kQuadObj);
    scratch.write("scene.ma", maya::Scene(kQuadEdges));
    fs::create_directory(scratch.path("folder"));
    EXPECT_EQ(Creases(scratch.path("missing.obj"), 0, scratch.path("scene.ma")), PELLANDO_FAILED);
    EXPECT_EQ(Creases(scratch.path("folder"), 0, scratch.path("scene.ma")), PELLANDO_FAILED);
    EXPECT_EQ(Creases(scratch.path("mesh.obj"), 0, scratch.path("missing.ma")), PELLANDO_FAILED);
    EXPECT_EQ(Creases(scratch.path("mesh.obj"), 0, scratch.path("folder")), PELLANDO_FAILED);
    EXPECT_EQ(Creases(scratch.path("mesh.obj"), 0, ""), PELLANDO_FAILED);
    EXPECT_EQ(scratch.read("scene.ma"), maya::Scene(kQuadEdges));
    EXPECT_EQ(scratch.names(), (Names{"folder", "mesh.obj", "scene.ma"}));
}

// Under the Windows rules a 0x1A byte with more text after it means a file
// cut short: the transfer fails rather than drop the rest of the scene.
TEST(GetCreasesTest, CtrlZFollowedByTextMakesAFileUnreadableOnWindowsRules) {
    const std::string scene = maya::Scene(kQuadEdges);
    const std::string cut = scene.substr(0, 40) + "\x1a" + scene.substr(40);
    Transfer badScene(kQuadObj, cut);
    Transfer badObj(std::string(kQuadObj) + "\x1a" "f 1 2 3\n", scene);
    if (platform::kWindowsRules) {
        EXPECT_EQ(badScene.result, PELLANDO_FAILED);
        EXPECT_EQ(badScene.scene(), cut);
        EXPECT_EQ(badObj.result, PELLANDO_FAILED);
        EXPECT_EQ(badObj.scene(), scene);
    } else {
        EXPECT_EQ(badScene.result, 1.0f);
        EXPECT_EQ(badObj.result, 1.0f);
    }
}

// Windows rules: CR LF reads as a line end, and every line is written with
// CR LF. POSIX rules: a CR stays at the end of the line it ends, untouched
// lines keep it, the new lines end in LF alone; in a group line it is part of
// the group's name.
TEST(GetCreasesTest, CarriageReturnsFollowThePlatformsTextMode) {
    auto crlf = [](std::string text) {
        std::string out;
        for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
        return out;
    };
    const std::string v = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n";
    // Without its CR the last group line repeats the first one.
    Transfer transfer(crlf(v + "s a\nf 1 2 3\n") + "s a\nf 1 3 4\n", crlf(maya::Scene(kQuadEdges)), 1);
    if (platform::kWindowsRules) {
        EXPECT_EQ(transfer.result, 1.0f);
        EXPECT_EQ(transfer.scene(), crlf(maya::Scene(kQuadEdges, Statement({0, 1, 2, 3}))));
    } else {
        EXPECT_EQ(transfer.result, 2.0f);
        std::string expected = crlf(maya::Scene(kQuadEdges, "@"));
        expected.replace(expected.find("@"), 1, Statement({0, 1, 2, 3}));
        EXPECT_EQ(transfer.scene(), expected);
    }
}

#ifndef _WIN32

TEST(GetCreasesTest, ReadOnlySceneAnswersMinusThreeUntouched) {
    Scratch scratch;
    scratch.write("mesh.obj", kQuadObj);
    scratch.write("scene.ma", maya::Scene(kQuadEdges));
    ASSERT_EQ(chmod(scratch.path("scene.ma").c_str(), 0444), 0);
    ASSERT_EQ(chmod(scratch.path().c_str(), 0777), 0);
    std::string obj = scratch.path("mesh.obj"), scene = scratch.path("scene.ma");
    EXPECT_EQ(RunInChild(ChildLimits::Unprivileged(), [&] { return Creases(obj, 0, scene); }), PELLANDO_CANNOT_WRITE);
    EXPECT_EQ(scratch.read("scene.ma"), maya::Scene(kQuadEdges));
    EXPECT_EQ(scratch.names(), (Names{"mesh.obj", "scene.ma"}));
}

TEST(GetCreasesTest, FullDiskLeavesTheSceneAsItWas) {
    Scratch scratch;
    maya::EdgeList edges;
    for (int i = 0; i < 20000; ++i) edges.emplace_back(i, i + 1);
    const std::string scene = maya::Scene(edges);
    scratch.write("mesh.obj", kQuadObj);
    scratch.write("scene.ma", scene);
    std::string obj = scratch.path("mesh.obj"), path = scratch.path("scene.ma");
    float result = RunInChild(ChildLimits::FileSize(static_cast<long long>(scene.size() / 2)),
                              [&] { return Creases(obj, 0, path); });
    EXPECT_EQ(result, PELLANDO_CANNOT_WRITE);
    EXPECT_TRUE(scratch.read("scene.ma") == scene);
    EXPECT_EQ(scratch.names(), (Names{"mesh.obj", "scene.ma"}));
}

#else

TEST(GetCreasesTest, ReadOnlySceneAnswersMinusThreeUntouched) {
    Scratch scratch;
    scratch.write("mesh.obj", kQuadObj);
    scratch.write("scene.ma", maya::Scene(kQuadEdges));
    fs::permissions(scratch.path("scene.ma"), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(Creases(scratch.path("mesh.obj"), 0, scratch.path("scene.ma")), PELLANDO_CANNOT_WRITE);
    EXPECT_EQ(scratch.read("scene.ma"), maya::Scene(kQuadEdges));
    EXPECT_EQ(scratch.names(), (Names{"mesh.obj", "scene.ma"}));
}

#endif

}  // namespace
