#include "leanOBJ/CreaseReport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "MayaScene.h"
#include "Platform.h"
#include "Scratch.h"
#include "leanOBJ/leanOBJ.h"
#include "pellando.h"

namespace {

using creases::CreaseReport;
using EdgePairs = std::set<std::pair<int, int>>;

// Two quads side by side, one group each: 6 vertices, 7 crease edges (all
// edges: the two groups meet at 1-4, the rest is open border).
const char kTwoQuads[] = "v 0 0 0\nv 1 0 0\nv 2 0 0\nv 0 1 0\nv 1 1 0\nv 2 1 0\n"
                         "g left\nf 1 2 5 4\ng right\nf 2 3 6 5\n";
const maya::EdgeList kTwoQuadEdges = {{0, 1}, {1, 2}, {4, 1}, {3, 0}, {2, 5}, {4, 5}, {3, 4}};

// A mesh node as Maya writes it, with `vertices` positions.
void AppendMesh(std::string& out, const std::string& name, int vertices, const maya::EdgeList& edges,
                const std::string& creaseStatement = maya::EmptyCreaseStatement()) {
    out += "createNode transform -n \"" + name + "\";\n";
    out += "createNode mesh -n \"" + name + "Shape\" -p \"" + name + "\";\n";
    out += "\tsetAttr -k off \".v\";\n";
    out += "\tsetAttr -s " + std::to_string(vertices) + " \".vt[0:" + std::to_string(vertices - 1) + "]\" ";
    for (int v = 0; v < vertices; ++v) out += " 0 0 0";
    out += ";\n";
    maya::AppendEdgeList(out, edges);
    maya::AppendFaceList(out);
    out += creaseStatement;
    maya::AppendMeshEnd(out);
}

// A scene with a first mesh of another shape, then the mesh of kTwoQuads.
std::string TwoMeshScene(int vertices, const maya::EdgeList& edges,
                         const std::string& creaseStatement = maya::EmptyCreaseStatement()) {
    std::string out;
    maya::AppendSceneStart(out, "scene.ma");
    AppendMesh(out, "other", 3, {{0, 1}, {1, 2}, {2, 0}});
    AppendMesh(out, "grid", vertices, edges, creaseStatement);
    maya::AppendSceneEnd(out, "scene.ma");
    return out;
}

// The line number (from 1) of the `occurrence`th line holding `text`.
std::uint64_t LineOf(const std::string& bytes, const std::string& text, int occurrence = 1) {
    std::size_t at = std::string::npos;
    for (int i = 0; i < occurrence; ++i) at = bytes.find(text, at == std::string::npos ? 0 : at + 1);
    return static_cast<std::uint64_t>(std::count(bytes.begin(), bytes.begin() + static_cast<long>(at), '\n')) + 1;
}

EdgePairs Pairs(const std::vector<creases::Edge>& edges) {
    EdgePairs pairs;
    for (creases::Edge e : edges) pairs.emplace(creases::EdgeFirst(e), creases::EdgeSecond(e));
    return pairs;
}

struct Transfer {
    Scratch scratch;
    CreaseReport report;
    float result = 0;
    Transfer(const std::string& obj, const std::string& scene) {
        scratch.write("mesh.obj", obj);
        scratch.write("scene.ma", scene);
    }
    float transfer(char groupChar = 'g') {
        result = creases::TransferCreases(scratch.path("mesh.obj").c_str(), scratch.path("scene.ma").c_str(),
                                          groupChar, &report);
        return result;
    }
};

// What the export writes, for the same two files.
std::string ExportScene(const std::string& obj, const std::string& scene, float& result) {
    Scratch scratch;
    scratch.write("mesh.obj", obj);
    scratch.write("scene.ma", scene);
    result = GetCreasesOBJ(scratch.path("mesh.obj").c_str(), scratch.path("scene.ma").c_str(), 'g');
    return scratch.read("scene.ma");
}

TEST(CreaseReportTest, NamesTheMeshNodeCountsAndReplacedLineOfAMayaScene) {
    const std::string scene = TwoMeshScene(6, kTwoQuadEdges);
    Transfer run(kTwoQuads, scene);
    run.report.keepEdges = true;
    EXPECT_EQ(run.transfer(), 2.0f);
    const CreaseReport& r = run.report;
    EXPECT_EQ(r.groupCount, 2);
    EXPECT_EQ(r.meshVertices, 6);
    EXPECT_EQ(r.creaseEdges, 7u);
    EXPECT_TRUE(r.sceneRead);
    EXPECT_EQ(r.meshNode, "gridShape");
    EXPECT_EQ(r.sceneVertices, 6);
    EXPECT_EQ(r.sceneEdges, 7);
    EXPECT_EQ(r.written, 7u);
    EXPECT_EQ(r.placement, CreaseReport::Placement::Replaced);
    EXPECT_EQ(r.firstLine, LineOf(scene, "setAttr \".cd\"", 2));
    EXPECT_EQ(r.lastLine, r.firstLine);
    EXPECT_EQ(r.oldEdges, 0);
    EXPECT_EQ(Pairs(r.writtenEdges), EdgePairs({{0, 1}, {1, 2}, {1, 4}, {0, 3}, {2, 5}, {4, 5}, {3, 4}}));
    EXPECT_TRUE(r.droppedEdges.empty());
    EXPECT_FALSE(r.stopped);

    // The report changes nothing that is written.
    float exported = 0;
    EXPECT_EQ(run.scratch.read("scene.ma"), ExportScene(kTwoQuads, scene, exported));
    EXPECT_EQ(exported, run.result);
}

// Maya's non-empty statement: the head, then one pair a line.
TEST(CreaseReportTest, AStatementOverSeveralLinesIsReplacedThroughItsLastLine) {
    const std::string old = "\tsetAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge 2 \n\t\t0 1.9 \n\t\t3 1.9 ;\n";
    const std::string scene = TwoMeshScene(6, kTwoQuadEdges, old);
    Transfer run(kTwoQuads, scene);
    run.transfer();
    EXPECT_EQ(run.report.placement, CreaseReport::Placement::Replaced);
    EXPECT_EQ(run.report.firstLine, LineOf(scene, "Index_Data Edge 2"));
    EXPECT_EQ(run.report.lastLine, run.report.firstLine + 2);
    EXPECT_EQ(run.report.oldEdges, 2);
}

TEST(CreaseReportTest, WithoutACreaseStatementTellsTheLineTheNewOneFollows) {
    // Edges of other vertices first, so that the edge list wraps over lines.
    maya::EdgeList edges;
    for (int i = 10; i < 40; ++i) edges.emplace_back(i, i + 1);
    edges.insert(edges.end(), kTwoQuadEdges.begin(), kTwoQuadEdges.end());
    std::string scene;
    maya::AppendSceneStart(scene, "scene.ma");
    AppendMesh(scene, "grid", 6, edges, "");
    maya::AppendSceneEnd(scene, "scene.ma");
    Transfer run(kTwoQuads, scene);
    EXPECT_EQ(run.transfer(), 2.0f);
    EXPECT_EQ(run.report.placement, CreaseReport::Placement::Inserted);
    // After the line that ends the edge list, glued to its last triple.
    ASSERT_LT(LineOf(scene, ".ed[0:36]"), LineOf(scene, "3 4 0;"));
    EXPECT_EQ(run.report.firstLine, LineOf(scene, "3 4 0;"));
    EXPECT_EQ(run.report.lastLine, run.report.firstLine);
    EXPECT_EQ(run.report.oldEdges, -1);
    const std::string after = run.scratch.read("scene.ma");
    EXPECT_EQ(LineOf(after, "Index_Data Edge 7"), run.report.firstLine + 1);
}

// Another version of the mesh: in the scene the shared edge 1-4 is gone
// (the faces were cut along other diagonals), and it states 10 vertices.
TEST(CreaseReportTest, CreaseEdgesTheSceneLacksAreCountedAsDropped) {
    const maya::EdgeList triangulated = {{0, 1}, {1, 2}, {1, 5}, {3, 0}, {2, 5}, {4, 5}, {3, 4}, {0, 4}};
    Transfer run(kTwoQuads, TwoMeshScene(10, triangulated));
    run.report.keepEdges = true;
    EXPECT_EQ(run.transfer(), 2.0f);
    EXPECT_EQ(run.report.sceneVertices, 10);
    EXPECT_EQ(run.report.sceneEdges, 8);
    EXPECT_EQ(run.report.creaseEdges, 7u);
    EXPECT_EQ(run.report.written, 6u);
    EXPECT_EQ(Pairs(run.report.droppedEdges), EdgePairs({{1, 4}}));
    EXPECT_EQ(run.report.writtenEdges.size(), 6u);
}

TEST(CreaseReportTest, ADryRunLeavesTheSceneByteForByteAndCreatesNothing) {
    const std::string scene = TwoMeshScene(6, kTwoQuadEdges);
    Transfer dry(kTwoQuads, scene);
    dry.report.dryRun = true;
    bool asked = false;
    dry.report.proceed = [&asked](const CreaseReport&) { return asked = true; };
    EXPECT_EQ(dry.transfer(), 2.0f);
    EXPECT_EQ(dry.scratch.read("scene.ma"), scene);
    EXPECT_EQ(dry.scratch.names(), (std::vector<std::string>{"mesh.obj", "scene.ma"}));
    EXPECT_FALSE(asked);

    // It reports what the real run does.
    Transfer real(kTwoQuads, scene);
    real.transfer();
    EXPECT_EQ(dry.report.written, real.report.written);
    EXPECT_EQ(dry.report.sceneEdges, real.report.sceneEdges);
    EXPECT_EQ(dry.report.meshNode, real.report.meshNode);
    EXPECT_EQ(dry.report.placement, real.report.placement);
    EXPECT_EQ(dry.report.firstLine, real.report.firstLine);
    EXPECT_EQ(dry.report.lastLine, real.report.lastLine);
}

// The dry run counts offsets as the writer would: CR LF scenes and a scene
// without a crease statement give the same places as a real run.
TEST(CreaseReportTest, ADryRunFindsThePlacesARealRunFinds) {
    std::string noStatement;
    maya::AppendSceneStart(noStatement, "scene.ma");
    AppendMesh(noStatement, "grid", 6, kTwoQuadEdges, "");
    for (const std::string& scene : {TwoMeshScene(6, kTwoQuadEdges), noStatement,
                                     platform::Native(TwoMeshScene(6, kTwoQuadEdges))}) {
        Transfer dry(kTwoQuads, scene), real(kTwoQuads, scene);
        dry.report.dryRun = true;
        EXPECT_EQ(dry.transfer(), real.transfer());
        EXPECT_EQ(dry.report.placement, real.report.placement);
        EXPECT_EQ(dry.report.firstLine, real.report.firstLine);
        EXPECT_EQ(dry.report.lastLine, real.report.lastLine);
    }
}

TEST(CreaseReportTest, RefusingBeforeTheCommitWritesNothing) {
    const std::string scene = TwoMeshScene(10, kTwoQuadEdges);
    Transfer run(kTwoQuads, scene);
    std::size_t writtenSeen = 0;
    std::int64_t verticesSeen = 0;
    run.report.proceed = [&](const CreaseReport& r) {
        writtenSeen = r.written;
        verticesSeen = r.sceneVertices;
        return false;
    };
    EXPECT_EQ(run.transfer(), 2.0f);
    EXPECT_TRUE(run.report.stopped);
    EXPECT_EQ(writtenSeen, 7u);
    EXPECT_EQ(verticesSeen, 10);
    EXPECT_EQ(run.scratch.read("scene.ma"), scene);
    EXPECT_EQ(run.scratch.names(), (std::vector<std::string>{"mesh.obj", "scene.ma"}));
}

// Edge lists outside any mesh node, a vertex count after the edges, and
// failures before the scene is read.
TEST(CreaseReportTest, WhatTheSceneDoesNotStateStaysUnknown) {
    {
        Transfer run(kTwoQuads, "\tsetAttr -s 7 \".ed[0:6]\"  0 1 0 1 2 0 4 1 0 3 0 0 2 5 0 4 5 0 3 4 0;\n");
        EXPECT_EQ(run.transfer(), 2.0f);
        EXPECT_EQ(run.report.meshNode, "");
        EXPECT_EQ(run.report.sceneVertices, -1);
        EXPECT_EQ(run.report.written, 7u);
    }
    {
        Transfer run(kTwoQuads, "createNode mesh -n \"late\";\n\tsetAttr -s 7 \".ed[0:6]\"  0 1 0 1 2 0 4 1 0 3 0 0 2 5 0 "
                           "4 5 0 3 4 0;\n\tsetAttr -s 6 \".vt\";\ncreateNode mesh -n \"next\";\n\tsetAttr -s 9 \".vt\";\n");
        run.transfer();
        EXPECT_EQ(run.report.meshNode, "late");
        EXPECT_EQ(run.report.sceneVertices, 6);
    }
    {
        Transfer run("v 0 0 0\nf 1 1 1\n", TwoMeshScene(6, kTwoQuadEdges));
        EXPECT_EQ(run.transfer(), PELLANDO_NO_CREASE_EDGES);
        EXPECT_FALSE(run.report.sceneRead);
        EXPECT_EQ(run.report.meshVertices, 1);
    }
}

}  // namespace
