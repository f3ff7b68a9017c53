// Inputs no modeller writes but a user's disk may hold: no line end at all,
// carriage returns only, NUL and 0x1A bytes, huge lines and faces, odd paths.
// Each export must answer a result code and leave every file as it should.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MayaScene.h"
#include "Platform.h"
#include "Plugin.h"
#include "Scratch.h"

namespace {

using platform::Lines;
using platform::Native;

const char kHeader[] = "# Exported from Pellando plugin test version";

float Smooth(const std::string& in, const std::string& out) {
    return Call("SmoothtoGroupOBJ", in.c_str(), 0, out.c_str());
}

float Creases(const std::string& obj, double number, const std::string& scene) {
    return Call("GetCreases", obj.c_str(), number, scene.c_str());
}

// NUL bytes are ordinary bytes: kept and copied like any other.
TEST(OddInputsTest, SmoothingRewriteKeepsOddBytes) {
    struct Case {
        const char* name;
        std::string input;
        std::string output;  // after the header line
    };
    const std::string crs(1000, '\r');
    const std::vector<Case> cases = {
        {"no line end", "s 1", Native("g  1\n")},
        {"carriage returns only", crs, crs + std::string(platform::kNewline)},
        {"NUL bytes", std::string("g a\0b\nv \0 1\n\0\n", 14), Native(std::string("# a\0b\nv \0 1\n\0\n", 14))},
        {"a 4 MB line", "s" + std::string(4u << 20, 'x') + "\nv 1 2 3",
         Native("g " + std::string(256, 'x') + "\nv 1 2 3\n")},
        {"a 4 MB comment", "# " + std::string(4u << 20, 'c') + "\n", Native("# " + std::string(4u << 20, 'c') + "\n")},
    };
    for (const Case& c : cases) {
        Scratch scratch;
        scratch.write("in.obj", c.input);
        ASSERT_EQ(Smooth(scratch.path("in.obj"), scratch.path("out.obj")), PELLANDO_OK) << c.name;
        EXPECT_TRUE(scratch.read("out.obj") == Lines({kHeader}) + c.output) << c.name;
    }
}

// A polygon of a million vertices, the only face of its group: its million
// sides are the crease edges; the scene lists three of them and a diagonal.
TEST(OddInputsTest, AFaceOfAMillionVertices) {
    Scratch scratch;
    std::string obj = "g huge\nf";
    for (int v = 1; v <= 1000000; ++v) obj += " " + std::to_string(v);
    scratch.write("mesh.obj", obj + "\n");
    const maya::EdgeList edges = {{0, 1}, {0, 2}, {999999, 0}, {500000, 500001}};
    scratch.write("scene.ma", maya::Scene(edges));
    EXPECT_EQ(Creases(scratch.path("mesh.obj"), 0, scratch.path("scene.ma")), 1.0f);
    EXPECT_EQ(scratch.read("scene.ma"),
              Native(maya::Scene(edges, "  setAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge 3\n"
                                        " 0 1000 2 1000 3 1000  ;\n")));
}

TEST(OddInputsTest, ScenesWithoutLineEndsOrWithNulBytes) {
    const std::string obj = "v 0 0 0\nv 1 0 0\nv 1 1 0\ng a\nf 1 2 3\n";
    const std::string head = "  setAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge ";
    const std::string edges = "\tsetAttr -s 3 \".ed[0:2]\"  0 1 0 1 2 0 2 0 0;\n";
    const std::string nul(1, '\0');
    struct Case {
        const char* name;
        std::string scene;
        float result;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"one line, no line end", "\tsetAttr -s 3 \".ed[0:2]\"  0 1 0 1 2 0 2 0 0;", 1,
         Native("\tsetAttr -s 3 \".ed[0:2]\"  0 1 0 1 2 0 2 0 0;\n" + head + "3\n 0 1000 1 1000 2 1000  ;\n")},
        {"carriage returns only", std::string(500, '\r'), PELLANDO_NO_EDGE_LIST, std::string(500, '\r')},
        {"NUL bytes", nul + "\n" + edges + nul, 1,
         Native(nul + "\n" + edges + head + "3\n 0 1000 1 1000 2 1000  ;\n" + nul + "\n")},
        {"empty", "", PELLANDO_NO_EDGE_LIST, ""},
    };
    for (const Case& c : cases) {
        Scratch scratch;
        scratch.write("mesh.obj", obj);
        scratch.write("scene.ma", c.scene);
        EXPECT_EQ(Creases(scratch.path("mesh.obj"), 0, scratch.path("scene.ma")), c.result) << c.name;
        EXPECT_TRUE(scratch.read("scene.ma") == c.after) << c.name;
    }
}

// Paths are handed to the platform as they are: blanks and bytes beyond
// ASCII name files like any others. The files are made and read back
// through the library itself, so that the test does not depend on how the
// platform spells such names.
TEST(OddInputsTest, PathsWithBlanksAndNonAsciiBytes) {
    Scratch scratch;
    const std::string folder = scratch.path("my meshes \xc3\xa9t\xc3\xa9");
    Scratch::MakeFolder(folder);
    const std::string sep(1, platform::kSeparator);
    scratch.write("plain.obj", "s 1\nv 1 2 3\n");
    const std::string odd = folder + sep + "t\xc3\xaate a b.obj";
    ASSERT_EQ(Smooth(scratch.path("plain.obj"), odd), PELLANDO_OK);
    ASSERT_EQ(Smooth(odd, odd), PELLANDO_OK);
    ASSERT_EQ(Smooth(odd, scratch.path("back.obj")), PELLANDO_OK);
    EXPECT_EQ(scratch.read("back.obj"), Lines({kHeader, kHeader, kHeader, "#  1", "v 1 2 3"}));
    EXPECT_EQ(Scratch::NamesIn(folder).size(), 1u);

    const std::string scene = folder + sep + "sc\xc3\xa8ne.ma";
    scratch.write("scene.ma", maya::Scene({{0, 1}, {1, 2}, {2, 0}}));
    ASSERT_EQ(Smooth(scratch.path("scene.ma"), scene), PELLANDO_OK);  // a copy under the odd name
    scratch.write("mesh.obj", "g a\nf 1 2 3\n");
    EXPECT_EQ(Creases(scratch.path("mesh.obj"), 0, scene), 1.0f);
    EXPECT_EQ(Scratch::NamesIn(folder).size(), 2u);
}

}  // namespace
