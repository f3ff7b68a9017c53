#include "PreviewMesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <utility>

#include "Scratch.h"

namespace {

using EdgePairs = std::set<std::pair<int, int>>;

EdgePairs Pairs(const cli::PreviewMesh& mesh) {
    EdgePairs pairs;
    for (creases::Edge e : mesh.edges) pairs.emplace(creases::EdgeFirst(e), creases::EdgeSecond(e));
    return pairs;
}

// Positions by vertex line, texture and normal lines aside; references as
// the crease transfer reads them: relative ones against the vertex lines
// read so far, "/" parts dropped.
TEST(PreviewMeshTest, ReadsPositionsAndFaceEdgesAsTheTransferCountsThem) {
    Scratch scratch;
    scratch.write("mesh.obj",
                  "v 0 0 0\nvt 0.5 0.5\nv 1 0 0\nvn 0 0 1\nv 1 1 0\nv 0 1 x\n"
                  "g a\nf -4 -3 -2 -1\nv +2 -0.5 1e1\nf 3/1/1 2/1/1 5//1\nf 1 1\n");
    cli::PreviewMesh mesh;
    ASSERT_TRUE(cli::ReadPreviewMesh(scratch.path("mesh.obj").c_str(), 100, 5, mesh));
    ASSERT_EQ(mesh.vertices(), 5u);
    EXPECT_EQ(mesh.positions[6], 1.0f);
    EXPECT_TRUE(std::isnan(mesh.positions[11]));  // "x" is no number
    EXPECT_FALSE(mesh.has(3));
    EXPECT_EQ(mesh.positions[12], 2.0f);
    EXPECT_EQ(mesh.positions[13], -0.5f);
    EXPECT_EQ(mesh.positions[14], 10.0f);
    EXPECT_TRUE(mesh.has(4));
    EXPECT_FALSE(mesh.has(5));
    EXPECT_FALSE(mesh.has(-1));
    EXPECT_EQ(mesh.faces, 3u);
    EXPECT_FALSE(mesh.sampled);
    EXPECT_EQ(Pairs(mesh), EdgePairs({{0, 1}, {1, 2}, {2, 3}, {0, 3}, {1, 4}, {2, 4}}));
}

// 120 x 120 quads, far more edges than the limit: at most the limit are
// kept, a good part of it, from every part of the mesh; the same each time.
TEST(PreviewMeshTest, KeepsAnEvenSampleOfTheEdgesOfAManyFacedMesh) {
    const int n = 120;
    std::string obj;
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x) obj += "v " + std::to_string(x) + " " + std::to_string(y) + " 0\n";
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            int a = y * (n + 1) + x + 1;
            obj += "f " + std::to_string(a) + " " + std::to_string(a + 1) + " " + std::to_string(a + n + 2) + " " +
                   std::to_string(a + n + 1) + "\n";
        }
    Scratch scratch;
    scratch.write("grid.obj", obj);
    const std::size_t limit = 1000;
    cli::PreviewMesh mesh, again;
    ASSERT_TRUE(cli::ReadPreviewMesh(scratch.path("grid.obj").c_str(), limit, 0, mesh));
    ASSERT_TRUE(cli::ReadPreviewMesh(scratch.path("grid.obj").c_str(), limit, 0, again));
    EXPECT_EQ(mesh.faces, std::uint64_t(n) * n);
    EXPECT_TRUE(mesh.sampled);
    EXPECT_LE(mesh.edges.size(), limit);
    EXPECT_GE(mesh.edges.size(), limit / 4);
    EXPECT_EQ(mesh.edges, again.edges);
    int quarter[4] = {0, 0, 0, 0};
    for (creases::Edge e : mesh.edges) {
        int v = creases::EdgeFirst(e), x = v % (n + 1), y = v / (n + 1);
        ++quarter[(x < n / 2 ? 0 : 1) + (y < n / 2 ? 0 : 2)];
    }
    for (int count : quarter) EXPECT_GT(count, static_cast<int>(mesh.edges.size() / 8));
}

TEST(PreviewMeshTest, AFileThatCannotBeReadIsRefused) {
    Scratch scratch;
    cli::PreviewMesh mesh;
    EXPECT_FALSE(cli::ReadPreviewMesh(scratch.path("missing.obj").c_str(), 100, 0, mesh));
    EXPECT_FALSE(cli::ReadPreviewMesh(scratch.path().c_str(), 100, 0, mesh));  // a folder
}

}  // namespace
