#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileOps/FileOps.h"

namespace {

// Decided from the text alone: none of these paths exists.
TEST(IsDirectoryTest, DecidesByTheLastPartOfThePath) {
    struct Case {
        const char* path;
        bool folder;
    };
    const std::vector<Case> cases = {
        {"C:\\data\\mesh.obj", false},
        {"C:\\data\\mesh", true},
        {"C:\\data.old\\mesh", true},  // the "." lies before the last separator
        {"C:/data.old/mesh", true},
        {"C:/data.old\\mesh", true},
        {"/data\\mesh.obj", false},
        {"mesh.obj", false},
        {"mesh", true},
        {".hidden", false},
        {"a.b.c", false},
        {"C:\\data\\..", true},
        {"C:\\data\\.", true},
        {".", true},
        {"..", true},
        {"notes.", true},
        {"C:\\data\\", true},
        {"/", true},
        {"", true},
    };
    for (const Case& c : cases) EXPECT_EQ(IsDirectory(c.path), c.folder) << "\"" << c.path << "\"";
}

}  // namespace
