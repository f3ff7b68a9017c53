#include "leanOBJ/GroupBoundaries.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ReferenceCreases.h"
#include "leanOBJ/SideWork.h"
#include "Scratch.h"
#include "pellando.h"

namespace {

using EdgePairs = std::set<std::pair<std::int32_t, std::int32_t>>;

EdgePairs Pairs(const creases::EdgeSet& edges) {
    EdgePairs pairs;
    edges.forEach([&pairs](creases::Edge e) { pairs.emplace(creases::EdgeFirst(e), creases::EdgeSecond(e)); });
    return pairs;
}

// A mesh read in two parts at once, the tail from the line after `share` of
// its bytes on.
creases::GroupBoundaries ReadInTwoParts(const std::string& path, char group, double share) {
    creases::MeshReading mesh(path.c_str(), group);
    mesh.split(share, 0);
    creases::SideWork side([&mesh](const creases::SideWork& work) { mesh.readTail(work); });
    mesh.readHead();
    side.wait();
    return mesh.finish();
}

// Random meshes made of the pieces real files have, and of the odd ones
// (tabs, signs, "/" in odd places, relative references, unreadable numbers,
// CR), read by the library and by the plain reading of the same rules.
TEST(GroupBoundariesTest, MatchesAPlainReadingOnRandomMeshes) {
    Scratch scratch;
    unsigned state = 2024;
    auto next = [&state](unsigned range) { return ((state = state * 1103515245u + 12345u) >> 8) % range; };
    const char* pieces[] = {" ", "  ", "\t", "/", "//", "-", "+", "x", "0", "\r", "1", "2", "3", "12", "-1", "-2", "7/7/7"};
    for (int round = 0; round < 300; ++round) {
        std::string obj;
        int lines = 1 + static_cast<int>(next(60));
        for (int i = 0; i < lines; ++i) {
            switch (next(6)) {
            case 0: obj += "v 1 2 3"; break;
            case 1: obj += next(2) ? "g " : "s "; obj += std::to_string(next(4)); break;
            case 2: obj += next(4) ? "" : "vt 0 0"; break;
            default:
                obj += next(8) ? "f " : (next(2) ? "f" : "f\t");
                for (int n = static_cast<int>(next(7)); n > 0; --n) obj += pieces[next(sizeof pieces / sizeof *pieces)];
                break;
            }
            obj += next(10) ? "\n" : "\r\n";
        }
        scratch.write("mesh.obj", obj);
        for (char group : {'g', 's'}) {
            ReferenceBoundaries plain = ReferenceGroupBoundaries(obj, group);
            // In one part, and in two split anywhere.
            for (double share : {-1.0, 0.1, 0.5, 0.9}) {
                creases::GroupBoundaries fast = share < 0
                                                    ? creases::FindGroupBoundaries(scratch.path("mesh.obj").c_str(), group)
                                                    : ReadInTwoParts(scratch.path("mesh.obj"), group, share);
                ASSERT_EQ(fast.status, plain.status) << obj << share;
                ASSERT_EQ(fast.groupCount, plain.groups) << obj << share;
                ASSERT_EQ(Pairs(fast.edges), plain.edges) << testing::PrintToString(obj) << share;
            }
        }
    }
}

}  // namespace

namespace {

// The limit of distinct group lines counts the groups of both parts, the
// tail's own and those it shares with the head, whatever the tail holds
// after them.
TEST(GroupBoundariesTest, GroupLimitCountsBothParts) {
    Scratch scratch;
    auto groups = [](int from, int to) {
        std::string text;
        for (int group = from; group < to; ++group) text += "g part" + std::to_string(group) + "\nf 1 2 3\n";
        return text;
    };
    const std::string v = "v 0 0 0\nv 1 0 0\nv 1 1 0\n";
    struct Case {
        std::string obj;
        float status;
    };
    const std::vector<Case> cases = {
        {v + groups(0, 4000) + groups(4000, 8191) + groups(0, 8191), PELLANDO_OK},
        {v + groups(0, 4000) + groups(4000, 8192), PELLANDO_TOO_MANY_GROUPS},
        {v + groups(0, 8191) + groups(0, 100) + groups(8191, 8192), PELLANDO_TOO_MANY_GROUPS},
        {v + groups(0, 100) + groups(100, 8192) + "f -1 -2 -3\n", PELLANDO_TOO_MANY_GROUPS},
        {v + groups(0, 8000) + "f -1 -2 -3\n" + groups(8000, 8191), PELLANDO_OK},
    };
    for (const Case& c : cases) {
        scratch.write("mesh.obj", c.obj);
        for (double share : {0.2, 0.5, 0.9}) {
            creases::GroupBoundaries read = ReadInTwoParts(scratch.path("mesh.obj"), 'g', share);
            EXPECT_EQ(read.status, c.status) << share;
            if (c.status == PELLANDO_OK) {
                EXPECT_EQ(read.groupCount, 8191) << share;
            }
        }
    }
}

}  // namespace
