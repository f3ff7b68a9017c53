// Memory runs out inside an export: the export answers -1, no exception
// reaches the host, and every file stays as it was.
#include <gtest/gtest.h>

#ifndef _WIN32

#include <string>
#include <vector>

#include "Child.h"
#include "MayaScene.h"
#include "Plugin.h"
#include "Scratch.h"

namespace {

using Names = std::vector<std::string>;

// Runs the call in a child whose address space may grow by 48 MB only.
float CallWithLittleMemory(const std::function<float()>& call) {
    long long inUse = AddressSpaceInUse();
    if (inUse < 0) return -100;
    return RunInChild(ChildLimits::AddressSpace(inUse + (48ll << 20)), call);
}

class OutOfMemoryTest : public testing::Test {
protected:
    void SetUp() override {
        if (!AddressSpaceLimitWorks()) GTEST_SKIP() << "no address space limit under an emulator or a sanitizer";
        Export("SmoothtoGroupOBJ");  // the library loaded before the limit
    }
};

// A line of 100 MB does not fit.
TEST_F(OutOfMemoryTest, SmoothingRewrite) {
    Scratch scratch;
    scratch.write("in.obj", "s 1\n#" + std::string(100u << 20, 'x') + "\n");
    scratch.write("out.obj", "old");
    std::string in = scratch.path("in.obj"), out = scratch.path("out.obj");
    EXPECT_EQ(CallWithLittleMemory([&] { return Call("SmoothtoGroupOBJ", in.c_str(), 0, out.c_str()); }),
              PELLANDO_FAILED);
    EXPECT_EQ(CallWithLittleMemory([&] { return Call("SmoothtoGroupOBJ", in.c_str(), 0, in.c_str()); }),
              PELLANDO_FAILED);
    EXPECT_EQ(scratch.read("out.obj"), "old");
    EXPECT_EQ(scratch.names(), (Names{"in.obj", "out.obj"}));
}

// Three million separate triangles in one group: nine million crease edges
// do not fit.
TEST_F(OutOfMemoryTest, CreaseTransfer) {
    Scratch scratch;
    std::string obj = "g a\n";
    for (int i = 0; i < 3000000; ++i)
        obj += "f " + std::to_string(3 * i + 1) + " " + std::to_string(3 * i + 2) + " " + std::to_string(3 * i + 3) + "\n";
    scratch.write("mesh.obj", obj);
    const std::string scene = maya::Scene({{0, 1}, {1, 2}, {2, 0}});
    scratch.write("scene.ma", scene);
    std::string objPath = scratch.path("mesh.obj"), scenePath = scratch.path("scene.ma");
    EXPECT_EQ(CallWithLittleMemory([&] { return Call("GetCreases", objPath.c_str(), 0, scenePath.c_str()); }),
              PELLANDO_FAILED);
    EXPECT_EQ(scratch.read("scene.ma"), scene);
    EXPECT_EQ(scratch.names(), (Names{"mesh.obj", "scene.ma"}));
}

// A source line of 100 MB does not fit; the target's replacement, begun at
// the first vertex line, goes.
TEST_F(OutOfMemoryTest, VertexSwap) {
    Scratch scratch;
    scratch.write("source.obj", "v 1 2 3\n#" + std::string(100u << 20, 'x') + "\n");
    scratch.write("target.obj", "v 0 0 0\nf 1 1 1\n");
    std::string source = scratch.path("source.obj"), target = scratch.path("target.obj");
    EXPECT_EQ(CallWithLittleMemory([&] { return Call("SwapVertices", source.c_str(), 0, target.c_str()); }),
              PELLANDO_FAILED);
    EXPECT_EQ(scratch.read("target.obj"), "v 0 0 0\nf 1 1 1\n");
    EXPECT_EQ(scratch.names(), (Names{"source.obj", "target.obj"}));
}

}  // namespace

#endif
