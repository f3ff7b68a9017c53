#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Child.h"
#include "Platform.h"
#include "Plugin.h"
#include "Reference.h"
#include "Scratch.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

namespace fs = std::filesystem;
using platform::Lines;
using Names = std::vector<std::string>;

const char kHeader[] = "# written by Quillfer plugin for Orvex";

float Swap(const std::string& source, const std::string& target, double number = 0) {
    return Call("SwapVertices", source.c_str(), number, target.c_str());
}

// Eight vertex lines among lines that only look like them.
const std::string kSource =
    "# source mesh\n"
    "mtllib source.mtl\n"
    "v 0 0 0\n"
    "v 1 0 0 1.0 0.5 0.25\n"  // position and colour, copied as it is
    "vt 0.5 0.5\n"
    "v 1 1 0\n"
    "vn 0 0 1\n"
    "v\t9 9 9\n"
    "v 0 1 0\n"
    "g source\n"
    "f 1 2 3\n"
    "v   0 0 1\n"
    "v 1 0 1\n"
    " v 5 5 5\n"
    "V 5 5 5\n"
    "v 1 1 1\n"
    "v 0 1 1";  // a last line without LF is a line
const std::vector<std::string> kSourceVertices = {"v 0 0 0", "v 1 0 0 1.0 0.5 0.25", "v 1 1 0", "v 0 1 0",
                                                  "v   0 0 1", "v 1 0 1", "v 1 1 1", "v 0 1 1"};

// Eight vertex lines between the statements that stay.
const std::string kTarget =
    "# target mesh\n"
    "mtllib target.mtl\n"
    "v 10 10 10\n"
    "v 11 10 10\n"
    "vt 0 0\n"
    "vn 0 0 1\n"
    "v\t7 7 7\n"
    "g body\n"
    "v 12 12 12\n"
    " # not a comment: it starts with a blank\n"
    "usemtl skin\n"
    "v 13 13 13\nv 14 14 14\nv 15 15 15\nv 16 16 16\nv 17 17 17\n"
    "\n"
    "f 1/1/1 2/1/1 3/1/1\n"
    "# a comment\n"
    "s 1\n"
    "f 3 4 5\n";
const std::vector<std::string> kTargetKept = {"mtllib target.mtl", "vt 0 0", "vn 0 0 1", "v\t7 7 7", "g body",
                                              " # not a comment: it starts with a blank", "usemtl skin", "",
                                              "f 1/1/1 2/1/1 3/1/1", "s 1", "f 3 4 5"};

std::string Swapped(const std::vector<std::string>& vertices, const std::vector<std::string>& kept) {
    std::string bytes = Lines({kHeader});
    for (const auto* lines : {&vertices, &kept})
        for (const std::string& line : *lines) bytes += line + std::string(platform::kNewline);
    return bytes;
}

TEST(SwapVerticesTest, PutsTheSourcesVerticesBeforeTheTargetsOtherLines) {
    Scratch scratch;
    scratch.write("source.obj", kSource);
    scratch.write("target.obj", kTarget);
    ASSERT_EQ(Swap(scratch.path("source.obj"), scratch.path("target.obj")), PELLANDO_OK);
    EXPECT_EQ(scratch.read("target.obj"), Swapped(kSourceVertices, kTargetKept));
    EXPECT_EQ(scratch.read("source.obj"), kSource);
    EXPECT_EQ(scratch.names(), (Names{"source.obj", "target.obj"}));
}

// Whichever step fails, the answer is -1 and the target is as it was: not
// rewritten, not created, and no temporary file is left beside it.
TEST(SwapVerticesTest, EveryFailureAnswersMinusOneAndLeavesTheTarget) {
    enum Kind { File, Missing, Folder };
    struct Side {
        Kind kind;
        std::string bytes;
    };
    struct Case {
        const char* name;
        Side source, target;
    };
    const std::string eight = "v 1 1 1\nv 2 2 2\nv 3 3 3\nv 4 4 4\nv 5 5 5\nv 6 6 6\nv 7 7 7\nv 8 8 8\n";
    std::string seven = kTarget;
    seven.erase(seven.find("v 10 10 10\n"), 11);
    const std::vector<Case> cases = {
        {"missing source", {Missing, ""}, {File, kTarget}},
        {"source is a folder", {Folder, ""}, {File, kTarget}},
        {"empty source", {File, ""}, {File, kTarget}},
        {"source without vertex lines", {File, "vt 0 0\nv\t1 2 3\nV 1 2 3\n v 1 2 3\nv\nf 1 2 3\n"}, {File, kTarget}},
        {"missing target", {File, kSource}, {Missing, ""}},
        {"target is a folder", {File, kSource}, {Folder, ""}},
        {"8 source vertices, 9 target vertices", {File, kSource}, {File, kTarget + "v 18 18 18\n"}},
        {"8 source vertices, 7 target vertices", {File, kSource}, {File, seven}},
        {"target without vertex lines", {File, kSource}, {File, "g a\nf 1 2 3\n"}},
        {"target of vertex lines and comments only", {File, kSource}, {File, "# a\n" + eight + "# b\n#"}},
        {"empty target", {File, kSource}, {File, ""}},
    };
    for (const Case& c : cases) {
        Scratch scratch;
        Names names;
        for (auto [name, side] : {std::pair{"source.obj", c.source}, std::pair{"target.obj", c.target}}) {
            if (side.kind == Missing) continue;
            if (side.kind == File) scratch.write(name, side.bytes);
            if (side.kind == Folder) fs::create_directory(scratch.path(name));
            names.push_back(name);
        }
        EXPECT_EQ(Swap(scratch.path("source.obj"), scratch.path("target.obj")), PELLANDO_FAILED) << c.name;
        if (c.target.kind == File) {
            EXPECT_TRUE(scratch.read("target.obj") == c.target.bytes) << c.name;
        } else if (c.target.kind == Folder) {
            EXPECT_TRUE(fs::is_empty(scratch.path("target.obj"))) << c.name;
        }
        EXPECT_EQ(scratch.names(), names) << c.name;
    }
}

TEST(SwapVerticesTest, NullPathsAnswerMinusTwoAndNumberIsNotRead) {
    Scratch scratch;
    scratch.write("source.obj", kSource);
    scratch.write("target.obj", kTarget);
    std::string source = scratch.path("source.obj");
    char target[] = "target.obj";
    auto swap = Export("SwapVertices");
    EXPECT_EQ(swap(nullptr, 0, target), PELLANDO_NULL_POINTER);
    EXPECT_EQ(swap(source.c_str(), 0, nullptr), PELLANDO_NULL_POINTER);
    EXPECT_EQ(swap(nullptr, NAN, nullptr), PELLANDO_NULL_POINTER);
    EXPECT_EQ(scratch.read("target.obj"), kTarget);
    EXPECT_EQ(scratch.names(), (Names{"source.obj", "target.obj"}));

    for (double number : {1.0, -7.5, double(NAN), 1e300}) {
        scratch.write("target.obj", kTarget);
        EXPECT_EQ(Swap(source, scratch.path("target.obj"), number), PELLANDO_OK) << number;
        EXPECT_EQ(scratch.read("target.obj"), Swapped(kSourceVertices, kTargetKept)) << number;
    }
}

// The file is its own source: its vertex lines gather after the header and its
// comments go, so swapping again changes nothing and leaves one header line.
TEST(SwapVerticesTest, SourceAndTargetMayBeTheSameFile) {
    Scratch scratch;
    scratch.write("mesh.obj", "# old header\ng a\nv 1 2 3\nf 1 1 1\n# note\nv 4 5 6\n");
    const std::string once = Lines({kHeader, "v 1 2 3", "v 4 5 6", "g a", "f 1 1 1"});
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(Swap(scratch.path("mesh.obj"), scratch.path("mesh.obj")), PELLANDO_OK) << round;
        EXPECT_EQ(scratch.read("mesh.obj"), once) << round;
    }
    EXPECT_EQ(scratch.names(), Names{"mesh.obj"});

    scratch.write("points.obj", "# points\nv 1 2 3\nv 4 5 6\n");
    EXPECT_EQ(Swap(scratch.path("points.obj"), scratch.path("points.obj")), PELLANDO_FAILED);
    EXPECT_EQ(scratch.read("points.obj"), "# points\nv 1 2 3\nv 4 5 6\n");
    EXPECT_EQ(scratch.names(), (Names{"mesh.obj", "points.obj"}));
}

// POSIX rules keep a CR before LF in the line, so "v" + CR is no vertex line
// and lines keep their CR; the header ends in LF alone. Windows rules read
// CR LF as a line end and end every written line in CR LF.
TEST(SwapVerticesTest, CarriageReturnsFollowThePlatformsTextMode) {
    Scratch scratch;
    scratch.write("source.obj", "v 1 2 3\r\nv 4 5 6\r\nv\r\n");
    scratch.write("target.obj", "v 0 0 0\r\n# c\r\nv 0 0 0\r\nv\r\nf 1 2 1\r\nx\ry\n");
    ASSERT_EQ(Swap(scratch.path("source.obj"), scratch.path("target.obj")), PELLANDO_OK);
    if (platform::kWindowsRules)
        EXPECT_EQ(scratch.read("target.obj"), Lines({kHeader, "v 1 2 3", "v 4 5 6", "v", "f 1 2 1", "x\ry"}));
    else
        EXPECT_EQ(scratch.read("target.obj"), std::string(kHeader) + "\nv 1 2 3\r\nv 4 5 6\r\nv\r\nf 1 2 1\r\nx\ry\n");
}

// Only LF ends a line: a file whose lines end in CR alone is one line.
TEST(SwapVerticesTest, LinesEndedByCarriageReturnsAloneAreOneLine) {
    Scratch scratch;
    scratch.write("source.obj", "v 1 2 3\rv 4 5 6\r");
    scratch.write("target.obj", "v 0 0 0\rv 0 0 0\r\nf 1 1 1\n");
    ASSERT_EQ(Swap(scratch.path("source.obj"), scratch.path("target.obj")), PELLANDO_OK);
    EXPECT_EQ(scratch.read("target.obj"), Lines({kHeader, "v 1 2 3\rv 4 5 6\r", "f 1 1 1"}));
}

// Under the Windows rules a 0x1A byte ends the input; with more than 0x1A
// bytes after it the file would be cut short, so nothing is written. Under
// the POSIX rules it is an ordinary byte.
TEST(SwapVerticesTest, CtrlZInsideAnInput) {
    const std::string cut = "v 1 1 1\n\x1a" "v 2 2 2\nf 1 2 1\n";  // one vertex line before the 0x1A
    struct Case {
        std::string source, target, posixResult;
    };
    const std::vector<Case> cases = {
        {cut, "v 0 0 0\nf 1 2 1\n", Lines({kHeader, "v 1 1 1", "f 1 2 1"})},
        {"v 9 9 9\n", cut, Lines({kHeader, "v 9 9 9", "\x1a" "v 2 2 2", "f 1 2 1"})},
    };
    for (const Case& c : cases) {
        Scratch scratch;
        scratch.write("source.obj", c.source);
        scratch.write("target.obj", c.target);
        float result = Swap(scratch.path("source.obj"), scratch.path("target.obj"));
        if (platform::kWindowsRules) {
            EXPECT_EQ(result, PELLANDO_FAILED);
            EXPECT_EQ(scratch.read("target.obj"), c.target);
        } else {
            EXPECT_EQ(result, PELLANDO_OK);
            EXPECT_EQ(scratch.read("target.obj"), c.posixResult);
        }
        EXPECT_EQ(scratch.names(), (Names{"source.obj", "target.obj"}));
    }
}

// Several megabytes with lines longer than the reader's chunks and both line
// ends, checked against a plain swap of the whole files in memory.
TEST(SwapVerticesTest, MatchesAPlainSwapOnLargeFiles) {
    unsigned state = 4242;
    auto next = [&state] { return state = state * 1103515245u + 12345u, (state >> 8) & 0xffff; };
    const char* starts[] = {"v ", "v ", "vt ", "vn ", "g ", "# ", "", "f ", "v", "v\t", " v "};
    // At least `size` bytes; exactly `vertices` vertex lines when that is given.
    auto generate = [&](std::size_t size, std::optional<std::size_t> vertices) {
        std::string bytes;
        std::size_t count = 0;
        for (unsigned n = 0; bytes.size() < size || (vertices && count < *vertices); ++n) {
            const char* start = starts[next() % 11];
            bool vertex = std::string(start) == "v ";
            if (vertex && vertices && count == *vertices) continue;
            count += vertex;
            bytes += start;
            // Now and then a line longer than the reader's chunk.
            bytes.append(n % 2500 == 1000 ? (3u << 20) / 2 : next() % 300, char('0' + next() % 10));
            bytes += next() % 4 ? "\n" : "\r\n";
        }
        return bytes;
    };
    auto isVertex = [](const std::string& line) { return line.size() >= 2 && line[0] == 'v' && line[1] == ' '; };
    auto countVertices = [&](const std::string& bytes) {
        std::size_t n = 0;
        const std::vector<std::string> lines = *ReferenceLines(bytes);
        for (const std::string& line : lines) n += isVertex(line);
        return n;
    };
    const std::string source = generate(5u << 20, std::nullopt);
    const std::string target = generate(3u << 20, countVertices(source));
    ASSERT_GT(countVertices(source), 1000u);
    ASSERT_EQ(countVertices(target), countVertices(source));

    std::vector<std::string> vertices, kept;
    const std::vector<std::string> sourceLines = *ReferenceLines(source), targetLines = *ReferenceLines(target);
    for (const std::string& line : sourceLines)
        if (isVertex(line)) vertices.push_back(line);
    for (const std::string& line : targetLines)
        if (!isVertex(line) && (line.empty() || line[0] != '#')) kept.push_back(line);

    Scratch scratch;
    scratch.write("source.obj", source);
    scratch.write("target.obj", target);
    ASSERT_EQ(Swap(scratch.path("source.obj"), scratch.path("target.obj")), PELLANDO_OK);
    EXPECT_TRUE(scratch.read("target.obj") == Swapped(vertices, kept));
}

#ifndef _WIN32

// Tests run as root, whom permission bits do not stop: the call runs in a
// child that has given up root.
TEST(SwapVerticesTest, ReadOnlyTargetAnswersMinusOneUntouched) {
    Scratch scratch;
    scratch.write("source.obj", kSource);
    scratch.write("target.obj", kTarget);
    ASSERT_EQ(chmod(scratch.path("target.obj").c_str(), 0444), 0);
    ASSERT_EQ(chmod(scratch.path().c_str(), 0777), 0);
    std::string source = scratch.path("source.obj"), target = scratch.path("target.obj");
    EXPECT_EQ(RunInChild(ChildLimits::Unprivileged(), [&] { return Swap(source, target); }), PELLANDO_FAILED);
    EXPECT_EQ(RunInChild(ChildLimits::Unprivileged(), [&] { return Swap(target, target); }), PELLANDO_FAILED);
    EXPECT_EQ(scratch.read("target.obj"), kTarget);
    EXPECT_EQ(scratch.names(), (Names{"source.obj", "target.obj"}));
}

// The disk fills up (a file size limit) halfway through the rewrite.
TEST(SwapVerticesTest, FullDiskDuringTheRewriteLeavesTheTarget) {
    Scratch scratch;
    std::string source, target;
    for (int i = 0; target.size() < 300000; ++i) {
        source += "v " + std::to_string(i) + " 0 0\n";
        target += "v 0 0 0\nvt 0 0\nf " + std::to_string(i) + " 1 2\n";
    }
    scratch.write("source.obj", source);
    scratch.write("target.obj", target);
    std::string sourcePath = scratch.path("source.obj"), targetPath = scratch.path("target.obj");
    for (long long limit : {100000LL, static_cast<long long>(source.size())}) {
        float result = RunInChild(ChildLimits::FileSize(limit), [&] { return Swap(sourcePath, targetPath); });
        EXPECT_EQ(result, PELLANDO_FAILED) << limit;
        EXPECT_TRUE(scratch.read("target.obj") == target) << limit;
        EXPECT_EQ(scratch.names(), (Names{"source.obj", "target.obj"})) << limit;
    }
}

#else

TEST(SwapVerticesTest, ReadOnlyTargetAnswersMinusOneUntouched) {
    Scratch scratch;
    scratch.write("source.obj", kSource);
    scratch.write("target.obj", kTarget);
    fs::permissions(scratch.path("target.obj"),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write, fs::perm_options::remove);
    EXPECT_EQ(Swap(scratch.path("source.obj"), scratch.path("target.obj")), PELLANDO_FAILED);
    EXPECT_EQ(Swap(scratch.path("target.obj"), scratch.path("target.obj")), PELLANDO_FAILED);
    EXPECT_EQ(scratch.read("target.obj"), kTarget);
    EXPECT_EQ(scratch.names(), (Names{"source.obj", "target.obj"}));
}

#endif

}  // namespace
