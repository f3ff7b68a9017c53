#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
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

const char kHeader[] = "# Exported from Pellando plugin test version";

float Smooth(const std::string& in, const std::string& out, double number = 0) {
    return Call("SmoothtoGroupOBJ", in.c_str(), number, out.c_str());
}

TEST(SmoothtoGroupTest, RewritesEachLineByItsFirstBytes) {
    Scratch scratch;
    scratch.write("in.obj", "v 1.0 2.0 3.0\n"
                            "vt 0.5 0.5\nvn 0 0 1\nvp 0.1\nv\nv\t1 2 3\n"
                            "g body\ng\n"
                            "s 1\ns off\ns\n"
                            "f 1/1/1 2/2/2 3/3/3\n# note\nusemtl skin\n\n v 1 2 3\n"
                            "V 1 2 3\nG x\nS 1\n\tg x\n"
                            "f 1 2 3");  // a last line without LF is a line
    ASSERT_EQ(Smooth(scratch.path("in.obj"), scratch.path("out.obj")), PELLANDO_OK);
    EXPECT_EQ(scratch.read("out.obj"),
              Lines({kHeader, "v 1.0 2.0 3.0", "# body", "#", "g  1", "g  off", "g ",
                     "f 1/1/1 2/2/2 3/3/3", "# note", "usemtl skin", "", " v 1 2 3",
                     "V 1 2 3", "G x", "S 1", "\tg x", "f 1 2 3"}));
}

TEST(SmoothtoGroupTest, GroupsBecomeCommentsAndSmoothingGroupsGroups) {
    Scratch scratch;
    scratch.write("in.obj", "g a\ns 1\nf 1 2 3\ns 2\nf 2 3 4\n");
    ASSERT_EQ(Smooth(scratch.path("in.obj"), scratch.path("out.obj")), PELLANDO_OK);
    EXPECT_EQ(scratch.read("out.obj"), Lines({kHeader, "# a", "g  1", "f 1 2 3", "g  2", "f 2 3 4"}));
}

TEST(SmoothtoGroupTest, EmptyInputGivesTheHeaderAlone) {
    Scratch scratch;
    scratch.write("in.obj", "");
    ASSERT_EQ(Smooth(scratch.path("in.obj"), scratch.path("out.obj")), PELLANDO_OK);
    EXPECT_EQ(scratch.read("out.obj"), Lines({kHeader}));
}

// "s" and the 256 bytes after it are kept: 300 bytes give "g " + 256.
TEST(SmoothtoGroupTest, CutsLongSmoothingLines) {
    Scratch scratch;
    std::string text;
    for (int i = 0; text.size() < 299; ++i) text += std::to_string(i % 10);
    scratch.write("in.obj", "s" + text + "\ns" + text.substr(0, 256) + "\n");
    ASSERT_EQ(Smooth(scratch.path("in.obj"), scratch.path("out.obj")), PELLANDO_OK);
    std::string kept = "g " + text.substr(0, 256);
    EXPECT_EQ(kept.size(), 258u);
    EXPECT_EQ(scratch.read("out.obj"), Lines({kHeader, kept, kept}));
}

TEST(SmoothtoGroupTest, RewritesAFileInPlace) {
    Scratch scratch;
    scratch.write("mesh.obj", "g a\nvt 0 0\nv 1 2 3\ns 1\nf 1 1 1\n");
    ASSERT_EQ(Smooth(scratch.path("mesh.obj"), scratch.path("mesh.obj")), PELLANDO_OK);
    EXPECT_EQ(scratch.read("mesh.obj"), Lines({kHeader, "# a", "v 1 2 3", "g  1", "f 1 1 1"}));
    EXPECT_EQ(scratch.names(), Names{"mesh.obj"});
}

TEST(SmoothtoGroupTest, NullPathsAnswerMinusTwoWithoutTouchingFiles) {
    Scratch scratch;
    scratch.write("in.obj", "s 1\n");
    std::string in = scratch.path("in.obj");
    char out[] = "out.obj";
    auto smooth = Export("SmoothtoGroupOBJ");
    EXPECT_EQ(smooth(nullptr, 0, out), PELLANDO_NULL_POINTER);
    EXPECT_EQ(smooth(in.c_str(), 0, nullptr), PELLANDO_NULL_POINTER);
    EXPECT_EQ(smooth(nullptr, NAN, nullptr), PELLANDO_NULL_POINTER);
    EXPECT_EQ(scratch.names(), Names{"in.obj"});
    EXPECT_EQ(scratch.read("in.obj"), "s 1\n");
}

TEST(SmoothtoGroupTest, NumberIsNotRead) {
    Scratch scratch;
    scratch.write("in.obj", "s 1\n");
    for (double number : {0.0, 1.0, -7.5, double(NAN), 1e300}) {
        EXPECT_EQ(Smooth(scratch.path("in.obj"), scratch.path("out.obj"), number), PELLANDO_OK);
        EXPECT_EQ(scratch.read("out.obj"), Lines({kHeader, "g  1"}));
    }
}

TEST(SmoothtoGroupTest, InputThatCannotBeReadAnswersMinusOneAndCreatesNothing) {
    Scratch scratch;
    fs::create_directory(scratch.path("folder"));
    for (const std::string& input : {scratch.path("missing.obj"), std::string(), scratch.path("folder")}) {
        EXPECT_EQ(Smooth(input, scratch.path("out.obj")), PELLANDO_FAILED) << input;
    }
    EXPECT_EQ(scratch.names(), Names{"folder"});
}

TEST(SmoothtoGroupTest, OutputThatCannotBeWrittenAnswersMinusThree) {
    Scratch scratch;
    scratch.write("in.obj", "s 1\n");
    fs::create_directory(scratch.path("folder"));
    std::string inMissingFolder = scratch.path("missing") + platform::kSeparator + "out.obj";
    for (const std::string& output : {inMissingFolder, scratch.path("folder"), std::string()}) {
        EXPECT_EQ(Smooth(scratch.path("in.obj"), output), PELLANDO_CANNOT_WRITE) << output;
    }
    EXPECT_EQ(scratch.names(), (Names{"folder", "in.obj"}));
    EXPECT_TRUE(fs::is_empty(scratch.path("folder")));
}

// POSIX rules copy a CR before LF with the line; lines the library makes
// (the header) end in LF alone. Windows rules read CR LF as a line end and
// end every written line in CR LF.
TEST(SmoothtoGroupTest, CarriageReturnsFollowThePlatformsTextMode) {
    Scratch scratch;
    scratch.write("in.obj", "g a\r\nv 1 2 3\r\nv\r\ns 1\r\nf 1 1 1\r\nx\ry\n");
    ASSERT_EQ(Smooth(scratch.path("in.obj"), scratch.path("out.obj")), PELLANDO_OK);
    if (platform::kWindowsRules) {
        EXPECT_EQ(scratch.read("out.obj"), Lines({kHeader, "# a", "v 1 2 3", "g  1", "f 1 1 1", "x\ry"}));
    } else {
        // "v" + CR is "v" followed by a non-blank: dropped.
        EXPECT_EQ(scratch.read("out.obj"),
                  std::string(kHeader) + "\n# a\r\nv 1 2 3\r\ng  1\r\nf 1 1 1\r\nx\ry\n");
    }
}

TEST(SmoothtoGroupTest, LinesEndedByCarriageReturnsAloneAreOneLine) {
    Scratch scratch;
    scratch.write("in.obj", "s 1\rv 1 2 3\rf 1 1 1\r");
    ASSERT_EQ(Smooth(scratch.path("in.obj"), scratch.path("out.obj")), PELLANDO_OK);
    EXPECT_EQ(scratch.read("out.obj"), Lines({kHeader, "g  1\rv 1 2 3\rf 1 1 1\r"}));
}

// Under the Windows rules a 0x1A byte ends the input; when more than 0x1A
// bytes follow it the rest of the file would be lost, so nothing is written.
TEST(SmoothtoGroupTest, CtrlZInsideTheInput) {
    Scratch scratch;
    const std::string input = "s 1\n\x1a" "f 1 2 3\n";
    scratch.write("mesh.obj", input);
    scratch.write("out.obj", "old");
    if (platform::kWindowsRules) {
        EXPECT_EQ(Smooth(scratch.path("mesh.obj"), scratch.path("out.obj")), PELLANDO_FAILED);
        EXPECT_EQ(Smooth(scratch.path("mesh.obj"), scratch.path("mesh.obj")), PELLANDO_FAILED);
        EXPECT_EQ(scratch.read("out.obj"), "old");
        EXPECT_EQ(scratch.read("mesh.obj"), input);
    } else {
        EXPECT_EQ(Smooth(scratch.path("mesh.obj"), scratch.path("out.obj")), PELLANDO_OK);
        EXPECT_EQ(scratch.read("out.obj"), Lines({kHeader, "g  1", "\x1a" "f 1 2 3"}));
    }
    EXPECT_EQ(scratch.names(), (Names{"mesh.obj", "out.obj"}));
}

TEST(SmoothtoGroupTest, TrailingCtrlZBytesEndTheInputOnWindowsRules) {
    Scratch scratch;
    scratch.write("in.obj", "s 1\r\n\x1a\x1a");
    ASSERT_EQ(Smooth(scratch.path("in.obj"), scratch.path("out.obj")), PELLANDO_OK);
    if (platform::kWindowsRules)
        EXPECT_EQ(scratch.read("out.obj"), Lines({kHeader, "g  1"}));
    else
        EXPECT_EQ(scratch.read("out.obj"), Lines({kHeader, "g  1\r", "\x1a\x1a"}));
}

// Several megabytes with lines longer than the reader's chunks, checked
// against a plain rewrite of the whole file in memory.
TEST(SmoothtoGroupTest, MatchesAPlainRewriteOnALargeFile) {
    Scratch scratch;
    std::string input;
    unsigned state = 777;
    auto next = [&state] { return state = state * 1103515245u + 12345u, (state >> 8) & 0xffff; };
    const char* starts[] = {"v ", "vt ", "vn ", "g ", "s ", "f ", "# ", "", "s", "v"};
    while (input.size() < (4u << 20)) {
        input += starts[next() % 10];
        input.append(next() % 50 == 0 ? (3u << 20) / 2 : next() % 400, char('0' + next() % 10));
        input += next() % 5 ? "\n" : "\r\n";
    }
    scratch.write("in.obj", input);
    ASSERT_EQ(Smooth(scratch.path("in.obj"), scratch.path("out.obj")), PELLANDO_OK);

    std::string expected = std::string(kHeader) + std::string(platform::kNewline);
    std::vector<std::string> lines = *ReferenceLines(input);
    for (const std::string& line : lines) {
        std::string out = line;
        if (line.empty()) {
        } else if (line[0] == 'v') {
            if (line.size() < 2 || line[1] != ' ') continue;
        } else if (line[0] == 'g') {
            out[0] = '#';
        } else if (line[0] == 's') {
            out = "g " + line.substr(1, 256);
        }
        expected += out;
        expected += platform::kNewline;
    }
    EXPECT_TRUE(scratch.read("out.obj") == expected);
}

#ifndef _WIN32

TEST(SmoothtoGroupTest, OutputThroughASymbolicLinkKeepsTheLinkAndMode) {
    Scratch scratch;
    scratch.write("in.obj", "s 1\n");
    scratch.write("target.obj", "old");
    ASSERT_EQ(chmod(scratch.path("target.obj").c_str(), 0604), 0);
    fs::create_symlink("target.obj", scratch.path("link.obj"));
    ASSERT_EQ(Smooth(scratch.path("in.obj"), scratch.path("link.obj")), PELLANDO_OK);
    EXPECT_TRUE(fs::is_symlink(scratch.path("link.obj")));
    EXPECT_EQ(scratch.read("target.obj"), Lines({kHeader, "g  1"}));
    struct stat st;
    ASSERT_EQ(stat(scratch.path("target.obj").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_EQ(scratch.names(), (Names{"in.obj", "link.obj", "target.obj"}));
}

// The disk fills up (a file size limit) halfway through an in-place rewrite.
TEST(SmoothtoGroupTest, FullDiskDuringAnInPlaceRewriteLeavesTheFile) {
    Scratch scratch;
    std::string input;
    for (int i = 0; input.size() < 300000; ++i) input += "s " + std::to_string(i) + "\nv 1 2 3\nf 1 2 3\n";
    scratch.write("mesh.obj", input);
    std::string path = scratch.path("mesh.obj");
    float result = RunInChild(ChildLimits::FileSize(100000), [&] { return Smooth(path, path); });
    EXPECT_EQ(result, PELLANDO_CANNOT_WRITE);
    EXPECT_TRUE(scratch.read("mesh.obj") == input);
    EXPECT_EQ(scratch.names(), Names{"mesh.obj"});
}

// Tests run as root, whom permission bits do not stop: the call runs in a
// child that has given up root.
TEST(SmoothtoGroupTest, ReadOnlyOutputAnswersMinusThreeUntouched) {
    Scratch scratch;
    scratch.write("in.obj", "s 1\n");
    scratch.write("out.obj", "old");
    ASSERT_EQ(chmod(scratch.path("out.obj").c_str(), 0444), 0);
    ASSERT_EQ(chmod(scratch.path().c_str(), 0777), 0);
    std::string in = scratch.path("in.obj"), out = scratch.path("out.obj");
    EXPECT_EQ(RunInChild(ChildLimits::Unprivileged(), [&] { return Smooth(in, out); }), PELLANDO_CANNOT_WRITE);
    EXPECT_EQ(RunInChild(ChildLimits::Unprivileged(), [&] { return Smooth(out, out); }), PELLANDO_CANNOT_WRITE);
    EXPECT_EQ(scratch.read("out.obj"), "old");
    EXPECT_EQ(scratch.names(), (Names{"in.obj", "out.obj"}));
}

#else

TEST(SmoothtoGroupTest, ReadOnlyOutputAnswersMinusThreeUntouched) {
    Scratch scratch;
    scratch.write("in.obj", "s 1\n");
    scratch.write("out.obj", "old");
    fs::permissions(scratch.path("out.obj"), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(Smooth(scratch.path("in.obj"), scratch.path("out.obj")), PELLANDO_CANNOT_WRITE);
    EXPECT_EQ(Smooth(scratch.path("out.obj"), scratch.path("out.obj")), PELLANDO_CANNOT_WRITE);
    EXPECT_EQ(scratch.read("out.obj"), "old");
    EXPECT_EQ(scratch.names(), (Names{"in.obj", "out.obj"}));
}

#endif

}  // namespace
