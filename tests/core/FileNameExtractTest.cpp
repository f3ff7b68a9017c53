#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "FileOps/FileOps.h"

namespace {

// Both separators count in every build; the last one found, whichever it is.
TEST(FileNameExtractTest, PiecesOfPaths) {
    struct Case {
        std::string path;
        const char* folder;       // mode 1
        const char* base;         // mode 2
        const char* stem;         // mode 3
        const char* extension;    // mode 4; null: there is none
        const char* name;         // mode 6
    };
    const std::vector<Case> cases = {
        {"C:\\models\\head.low.obj", "C:\\models\\", "head.low", "C:\\models\\head.low", ".obj", "head.low.obj"},
        {"C:/models\\head.obj", "C:/models\\", "head", "C:/models\\head", ".obj", "head.obj"},
        {"C:\\models/head.obj", "C:\\models/", "head", "C:\\models/head", ".obj", "head.obj"},
        // A "." in a folder name: modes 3 and 4 look at the whole path.
        {"C:\\my.data\\readme", "C:\\my.data\\", "readme", "C:\\my", ".data\\readme", "readme"},
        {"head.obj", "", "head", "head", ".obj", "head.obj"},
        {"a/.hidden", "a/", "", "a/", ".hidden", ".hidden"},
        {"C:\\models\\", "C:\\models\\", "", "C:\\models\\", nullptr, ""},
        {"notes.", "", "notes", "notes", ".", "notes."},
        {"readme", "", "readme", "readme", nullptr, "readme"},
        {"", "", "", "", nullptr, ""},
        {"/", "/", "", "/", nullptr, ""},
        {".", "", "", "", ".", "."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("path \"" + c.path + "\"");
        EXPECT_EQ(FileNameExtract(c.path, 1), c.folder);
        EXPECT_EQ(FileNameExtract(c.path, 2), c.base);
        EXPECT_EQ(FileNameExtract(c.path, 3), c.stem);
        if (c.extension)
            EXPECT_EQ(FileNameExtract(c.path, 4), c.extension);
        else
            EXPECT_THROW(FileNameExtract(c.path, 4), std::out_of_range);
        EXPECT_EQ(FileNameExtract(c.path, 6), c.name);
    }
}

TEST(FileNameExtractTest, OtherModesGiveThePathItself) {
    for (const std::string path : {"C:\\models\\head.obj", "readme", ""}) {
        for (int mode : {0, 5, 7, -1, 1000, -2147483647 - 1, 2147483647})
            EXPECT_EQ(FileNameExtract(path, mode), path) << "mode " << mode;
    }
}

TEST(FileNameExtractTest, LeavesThePathAlone) {
    const std::string path = "C:\\models\\head.obj";
    std::string copy = path;
    for (int mode = -1; mode <= 7; ++mode) FileNameExtract(copy, mode);
    EXPECT_EQ(copy, path);
}

}  // namespace
