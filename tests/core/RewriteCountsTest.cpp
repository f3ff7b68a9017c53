#include "leanOBJ/RewriteCounts.h"

#include <gtest/gtest.h>

#include <string>

#include "Scratch.h"
#include "leanOBJ/leanOBJ.h"
#include "pellando.h"

namespace {

TEST(RewriteCountsTest, SmoothingRewriteCountsEachKindOfLineAndWritesWhatTheWorkerWrites) {
    const std::string obj = "# c\nv 1 2 3\nv 4 5 6\nvt 0 0\nvn 0 0 1\nv\tx\ng a b\ns 1\nf 1 2 3\n\ns off\ng c\n";
    Scratch scratch;
    scratch.write("in.obj", obj);
    rewrites::SmoothCounts counts;
    EXPECT_EQ(rewrites::SmoothToGroups(scratch.path("in.obj").c_str(), scratch.path("counted.obj").c_str(), &counts),
              PELLANDO_OK);
    EXPECT_EQ(counts.groupsMade, 2u);
    EXPECT_EQ(counts.groupsCommented, 2u);
    EXPECT_EQ(counts.linesDropped, 3u);
    EXPECT_EQ(counts.linesKept, 5u);  // the comment, two vertices, the face, the empty line
    EXPECT_EQ(LeanSmoothtoGroupOBJ(scratch.path("in.obj").c_str(), scratch.path("plain.obj").c_str()), PELLANDO_OK);
    EXPECT_EQ(scratch.read("counted.obj"), scratch.read("plain.obj"));
}

TEST(RewriteCountsTest, SwapCountsVerticesKeptLinesAndDroppedComments) {
    Scratch scratch;
    scratch.write("source.obj", "v 9 9 9\nvt 1 1\nv 8 8 8\n");
    scratch.write("target.obj", "# old\nv 1 1 1\ng a\nv 2 2 2\n# note\nf 1 2 1\n");
    rewrites::SwapCounts counts;
    EXPECT_TRUE(rewrites::SwapVertexLines(scratch.path("source.obj").c_str(), scratch.path("target.obj").c_str(),
                                          &counts));
    EXPECT_EQ(counts.sourceVertices, 2u);
    EXPECT_EQ(counts.targetVertices, 2u);
    EXPECT_EQ(counts.linesKept, 2u);
    EXPECT_EQ(counts.commentsDropped, 2u);
}

// A failed swap tells how far it got: the target holds more vertex lines.
TEST(RewriteCountsTest, AFailedSwapTellsWhereTheCountsParted) {
    Scratch scratch;
    const std::string target = "v 1 1 1\nv 2 2 2\nv 3 3 3\nv 4 4 4\nf 1 2 3\n";
    scratch.write("source.obj", "v 9 9 9\nv 8 8 8\n");
    scratch.write("target.obj", target);
    rewrites::SwapCounts counts;
    EXPECT_FALSE(rewrites::SwapVertexLines(scratch.path("source.obj").c_str(), scratch.path("target.obj").c_str(),
                                           &counts));
    EXPECT_EQ(counts.sourceVertices, 2u);
    EXPECT_EQ(counts.targetVertices, 3u);
    EXPECT_EQ(scratch.read("target.obj"), target);
}

}  // namespace
