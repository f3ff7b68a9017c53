// Faults that only a file system can make, on every platform the tests run
// on (wine included): a disk that fills up during a rewrite, and outputs on
// a read-only mount. The file systems come from tests/faultfs.sh through
// PELLANDO_FAULT_DIR; where they cannot be made the tests skip.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "MayaScene.h"
#include "Platform.h"
#include "Plugin.h"
#include "Scratch.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class MountedFaultTest : public testing::Test {
protected:
    void SetUp() override {
        const char* dir = std::getenv("PELLANDO_FAULT_DIR");
        if (!dir || !*dir) GTEST_SKIP() << "PELLANDO_FAULT_DIR is not set";
        root_ = dir;
        if (fs::exists(root_ + "/unavailable")) GTEST_SKIP() << "no fault file systems: " << root_;
        // Each test works in a folder of its own on the full disk.
        fs::remove_all(full(""));
        fs::create_directory(full(""));
    }
    void TearDown() override {
        if (!root_.empty()) fs::remove_all(full(""));
    }
    std::string full(const std::string& name) const { return root_ + "/full/case" + (name.empty() ? "" : "/" + name); }
    std::string readonly(const std::string& name) const { return root_ + "/readonly/" + name; }
    Names namesInFull() const { return Scratch::NamesIn(full("")); }

    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }

    std::string root_;
};

std::string Mesh(std::size_t bytes) {
    std::string text;
    for (int i = 0; text.size() < bytes; ++i) text += "s " + std::to_string(i) + "\nv 1 2 3\nf 1 2 3\n";
    return text;
}

TEST_F(MountedFaultTest, DiskFillsUpDuringAnInPlaceSmoothingRewrite) {
    const std::string mesh = Mesh(300000);
    Write(full("mesh.obj"), mesh);
    EXPECT_EQ(Call("SmoothtoGroupOBJ", full("mesh.obj").c_str(), 0, full("mesh.obj").c_str()), PELLANDO_CANNOT_WRITE);
    EXPECT_TRUE(Read(full("mesh.obj")) == mesh);
    EXPECT_EQ(namesInFull(), Names{"mesh.obj"});
}

TEST_F(MountedFaultTest, DiskFillsUpWritingANewOutput) {
    Scratch scratch;
    scratch.write("mesh.obj", Mesh(700000));
    EXPECT_EQ(Call("SmoothtoGroupOBJ", scratch.path("mesh.obj").c_str(), 0, full("out.obj").c_str()),
              PELLANDO_CANNOT_WRITE);
    EXPECT_EQ(namesInFull(), Names{});
}

TEST_F(MountedFaultTest, DiskFillsUpDuringACreaseTransfer) {
    maya::EdgeList edges;
    for (int i = 0; i < 24000; ++i) edges.emplace_back(i, i + 1);
    const std::string scene = maya::Scene(edges);
    ASSERT_GT(scene.size(), 256000u);
    Write(full("scene.ma"), scene);
    Scratch scratch;
    scratch.write("mesh.obj", "g a\nf 1 2 3\n");
    EXPECT_EQ(Call("GetCreases", scratch.path("mesh.obj").c_str(), 0, full("scene.ma").c_str()), PELLANDO_CANNOT_WRITE);
    EXPECT_TRUE(Read(full("scene.ma")) == scene);
    EXPECT_EQ(namesInFull(), Names{"scene.ma"});
}

TEST_F(MountedFaultTest, OutputsOnAReadOnlyMount) {
    Scratch scratch;
    scratch.write("mesh.obj", "s 1\nv 0 0 0\nv 1 0 0\nv 1 1 0\ng a\nf 1 2 3\n");
    const std::string mesh = scratch.path("mesh.obj");
    const std::string file = Read(readonly("file.txt")), scene = Read(readonly("scene.ma"));
    EXPECT_EQ(Call("SmoothtoGroupOBJ", mesh.c_str(), 0, readonly("file.txt").c_str()), PELLANDO_CANNOT_WRITE);
    EXPECT_EQ(Call("SmoothtoGroupOBJ", mesh.c_str(), 0, readonly("new.obj").c_str()), PELLANDO_CANNOT_WRITE);
    EXPECT_EQ(Call("SmoothtoGroupOBJ", readonly("file.txt").c_str(), 0, readonly("file.txt").c_str()),
              PELLANDO_CANNOT_WRITE);
    EXPECT_EQ(Call("GetCreases", mesh.c_str(), 0, readonly("scene.ma").c_str()), PELLANDO_CANNOT_WRITE);
    EXPECT_EQ(Read(readonly("file.txt")), file);
    EXPECT_EQ(Read(readonly("scene.ma")), scene);
    EXPECT_EQ(Scratch::NamesIn(root_ + "/readonly"), (Names{"file.txt", "folder", "scene.ma", "target.obj"}));
    // Reading from it works as ever.
    EXPECT_EQ(Call("SmoothtoGroupOBJ", readonly("file.txt").c_str(), 0, scratch.path("out.obj").c_str()), PELLANDO_OK);
}

TEST_F(MountedFaultTest, DiskFillsUpDuringAVertexSwap) {
    std::string target, source;
    for (int i = 0; target.size() < 300000; ++i) {
        target += "v 1 2 3\nvt 0 0\nf 1 2 3\n";
        source += "v 0.000000 0.000000 " + std::to_string(i) + ".000000\n";
    }
    Write(full("target.obj"), target);
    Scratch scratch;
    scratch.write("source.obj", source);
    EXPECT_EQ(Call("SwapVertices", scratch.path("source.obj").c_str(), 0, full("target.obj").c_str()),
              PELLANDO_FAILED);
    EXPECT_TRUE(Read(full("target.obj")) == target);
    EXPECT_EQ(namesInFull(), Names{"target.obj"});
}

TEST_F(MountedFaultTest, VertexSwapAndFolderServicesOnAReadOnlyMount) {
    Scratch scratch;
    scratch.write("mesh.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\n");
    const std::string target = Read(readonly("target.obj"));
    EXPECT_EQ(Call("SwapVertices", scratch.path("mesh.obj").c_str(), 0, readonly("target.obj").c_str()),
              PELLANDO_FAILED);
    EXPECT_EQ(Call("SwapVertices", readonly("target.obj").c_str(), 0, readonly("target.obj").c_str()),
              PELLANDO_FAILED);
    EXPECT_EQ(Read(readonly("target.obj")), target);
    // Nothing can be deleted there; emptying the folder still walks it to its
    // end. (Wine answers 0 to the deletion all the same: it reports it done
    // before the file system refuses it. The file stays, as checked below.)
    const float deleted = Call("FileDelete", readonly("file.txt").c_str(), 0, nullptr);
    if (!platform::kWindowsRules) {
        EXPECT_EQ(deleted, PELLANDO_FAILED);
    }
    EXPECT_EQ(Call("EmptyFolder", readonly("folder").c_str(), 0, nullptr), PELLANDO_OK);
    EXPECT_EQ(Scratch::NamesIn(readonly("folder")), (Names{"a.obj", "b.txt"}));
    EXPECT_EQ(Scratch::NamesIn(root_ + "/readonly"), (Names{"file.txt", "folder", "scene.ma", "target.obj"}));
    // Reading from it works as ever.
    scratch.write("mesh.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nf 1 2 3\n");
    EXPECT_EQ(Call("SwapVertices", readonly("target.obj").c_str(), 0, scratch.path("mesh.obj").c_str()), PELLANDO_OK);
}

}  // namespace
