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
// its bytes on, or (share 0) from where the second thread finds the work
// left halved.
creases::GroupBoundaries ReadInTwoParts(const std::string& path, char group, double share) {
    creases::MeshReading mesh(path.c_str(), group, 0);
    if (share > 0) mesh.split(share);
    creases::SideWork side([&mesh](const creases::SideWork& work) { mesh.readTail(work); });
    mesh.readHead();
    side.wait();
    return mesh.finish();
}

// A mesh of the pieces real files have, and of the odd ones (tabs, signs,
// "/" in odd places, relative references, unreadable numbers, CR).
std::string RandomMesh(unsigned& state, int lines, int vertices) {
    auto next = [&state](unsigned range) { return ((state = state * 1103515245u + 12345u) >> 8) % range; };
    const char* pieces[] = {" ", "  ", "\t", "/", "//", "-", "+", "x", "0", "\r", "1", "2", "3", "12", "-1", "-2", "7/7/7"};
    std::string obj;
    for (int i = 0; i < lines; ++i) {
        switch (next(7)) {
        case 0: obj += "v 1 2 3"; break;
        case 1: obj += next(2) ? "g " : "s "; obj += std::to_string(next(4)); break;
        case 2: obj += next(4) ? "" : "vt 0 0"; break;
        case 3:
            obj += "f";
            for (int n = 3 + static_cast<int>(next(2)); n > 0; --n) obj += " " + std::to_string(1 + next(vertices)) + "/1/1";
            break;
        default:
            obj += next(8) ? "f " : (next(2) ? "f" : "f\t");
            for (int n = static_cast<int>(next(7)); n > 0; --n) obj += pieces[next(sizeof pieces / sizeof *pieces)];
            break;
        }
        obj += next(10) ? "\n" : "\r\n";
    }
    return obj;
}

// The library's reading, in one part and in two (split at `shares`), against
// the plain reading of the same rules.
void ExpectPlainReading(const Scratch& scratch, const std::string& obj, std::initializer_list<double> shares) {
    scratch.write("mesh.obj", obj);
    for (char group : {'g', 's'}) {
        ReferenceBoundaries plain = ReferenceGroupBoundaries(obj, group);
        for (double share : shares) {
            creases::GroupBoundaries fast = share < 0 ? creases::FindGroupBoundaries(scratch.path("mesh.obj").c_str(), group)
                                                      : ReadInTwoParts(scratch.path("mesh.obj"), group, share);
            ASSERT_EQ(fast.status, plain.status) << testing::PrintToString(obj.substr(0, 2000)) << share;
            ASSERT_EQ(fast.groupCount, plain.groups) << testing::PrintToString(obj.substr(0, 2000)) << share;
            ASSERT_EQ(Pairs(fast.edges), plain.edges) << testing::PrintToString(obj.substr(0, 2000)) << share;
        }
    }
}

TEST(GroupBoundariesTest, MatchesAPlainReadingOnRandomMeshes) {
    Scratch scratch;
    unsigned state = 2024;
    for (int round = 0; round < 300; ++round) {
        const int lines = 1 + static_cast<int>((state = state * 1103515245u + 12345u) >> 8) % 60;
        ASSERT_NO_FATAL_FAILURE(ExpectPlainReading(scratch, RandomMesh(state, lines, 12), {-1.0, 0.0, 0.1, 0.5, 0.9}));
    }
}

// Megabytes of them: a run of lines that the head is reading when the second
// thread chooses where the tail begins.
TEST(GroupBoundariesTest, MatchesAPlainReadingOnALargeRandomMesh) {
    Scratch scratch;
    unsigned state = 77;
    ExpectPlainReading(scratch, RandomMesh(state, 200000, 3000), {0.0, 0.37});
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
