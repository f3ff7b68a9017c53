#include "leanOBJ/SceneCreases.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MayaScene.h"
#include "Scratch.h"
#include "pellando.h"

namespace {

using creases::MakeEdge;

// A scene made of the pieces that decide what is read and replaced, odd ones
// included: edge lists inline and in blocks, several edge-count lines,
// marked, Maya and library statements over one or several lines, text where
// numbers should be, CR LF and lone CR, no LF at the end.
std::string RandomScene(unsigned& state) {
    auto next = [&state](unsigned range) { return ((state = state * 1103515245u + 12345u) >> 8) % range; };
    const char* pieces[] = {
        "createNode mesh -n \"aShape\";\n",
        "\tsetAttr -s 12 \".ed\";\n",
        "\tsetAttr \".ed[0:3]\"  0 1 0 1 2 0\n\t\t 2 3 0 3 0 0;\n",
        "\tsetAttr -s 4 \".ed[0:3]\"  3 2 0 1 0 0 0 2 1 1 3 0;\n",
        "\tsetAttr \".ed[4:5]\" 4 5 0\n\t\t 5 6 0 x\n",
        "\tsetAttr \".ed[6:7]\" 007 +6 0 -1 4\n",
        "\t\t 6 7 0;\n",
        "\tsetAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge 0 ;\n",
        "\tsetAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge 2\n\t\t0 1.9 \n\t\t3 1.9 ;\n",
        "  \tsetAttr \".cd\" old marker\n 1 1000  ;\n",
        "  setAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge 1\n 2 1000  ;\r\n",
        "\tsetAttr \".cd\"\n",
        "\t\t4 1.9 \n",
        "\tsetAttr \".vt[0:3]\" 1 2 3 4;\n",
        "\t\tf 4 0 1 2 3\n",
        "x .ed[ y\r",
        "\r\n",
        ";\n",
    };
    std::string scene = "//Maya ASCII 2024 scene\n";
    for (int n = 1 + static_cast<int>(next(14)); n > 0; --n) scene += pieces[next(sizeof pieces / sizeof *pieces)];
    if (next(4) == 0) scene.pop_back();
    return scene;
}

// With the scene copied ahead (here at any size) and in one pass, a rewrite
// gives the same result and the same bytes.
TEST(SceneRewriteTest, CopyAheadGivesWhatOnePassGives) {
    Scratch scratch;
    creases::EdgeSet creases;
    for (auto [a, b] : {std::pair{0, 1}, {2, 3}, {3, 0}, {4, 5}, {6, 7}, {1, 1}, {-1, 4}})
        creases.insert(MakeEdge(a, b));
    unsigned state = 7;
    for (int round = 0; round < 400; ++round) {
        const std::string scene = RandomScene(state);
        scratch.write("one.ma", scene);
        scratch.write("ahead.ma", scene);
        float onePass = creases::WriteSceneCreases(scratch.path("one.ma").c_str(), creases, 3);
        float ahead = creases::SceneRewrite(scratch.path("ahead.ma").c_str(), 0).finish(creases, 3);
        ASSERT_EQ(ahead, onePass) << testing::PrintToString(scene);
        ASSERT_EQ(scratch.read("ahead.ma"), scratch.read("one.ma")) << testing::PrintToString(scene);
    }
    EXPECT_EQ(scratch.names(), (std::vector<std::string>{"ahead.ma", "one.ma"}));
}

// A rewrite given up (the mesh had no crease edge, or failed) leaves the scene
// and its folder as they were, the copy begun or not.
TEST(SceneRewriteTest, UnfinishedRewriteLeavesTheScene) {
    Scratch scratch;
    const std::string scene = maya::Scene({{0, 1}, {1, 2}});
    scratch.write("scene.ma", scene);
    for (std::uint64_t from : {std::uint64_t(0), creases::kCopyAheadFrom}) {
        {
            creases::SceneRewrite rewrite(scratch.path("scene.ma").c_str(), from);
            rewrite.copy();
        }
        EXPECT_EQ(scratch.read("scene.ma"), scene);
        EXPECT_EQ(scratch.names(), (std::vector<std::string>{"scene.ma"}));
    }
}

TEST(SceneRewriteTest, MissingSceneAnswersMinusOne) {
    Scratch scratch;
    creases::EdgeSet creases;
    creases.insert(MakeEdge(0, 1));
    EXPECT_EQ(creases::SceneRewrite(scratch.path("missing.ma").c_str(), 0).finish(creases, 1), PELLANDO_FAILED);
    EXPECT_TRUE(scratch.names().empty());
}

}  // namespace
