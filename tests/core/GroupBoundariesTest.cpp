#include "leanOBJ/GroupBoundaries.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ReferenceCreases.h"
#include "Scratch.h"
#include "pellando.h"

namespace {

using EdgePairs = std::set<std::pair<std::int32_t, std::int32_t>>;

EdgePairs Pairs(const creases::EdgeSet& edges) {
    EdgePairs pairs;
    edges.forEach([&pairs](creases::Edge e) { pairs.emplace(creases::EdgeFirst(e), creases::EdgeSecond(e)); });
    return pairs;
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
            creases::GroupBoundaries fast = creases::FindGroupBoundaries(scratch.path("mesh.obj").c_str(), group);
            ReferenceBoundaries plain = ReferenceGroupBoundaries(obj, group);
            ASSERT_EQ(fast.status, plain.status) << obj;
            ASSERT_EQ(fast.groupCount, plain.groups) << obj;
            ASSERT_EQ(Pairs(fast.edges), plain.edges) << testing::PrintToString(obj);
        }
    }
}

}  // namespace
