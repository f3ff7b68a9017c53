#include "leanOBJ/EdgeSet.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

using creases::Edge;
using creases::EdgeSet;
using creases::MakeEdge;

TEST(EdgeSetTest, BothVertexOrdersAreOneEdge) {
    EXPECT_EQ(MakeEdge(3, 0), MakeEdge(0, 3));
    EXPECT_NE(MakeEdge(0, 3), MakeEdge(0, 4));
    EXPECT_EQ(creases::EdgeFirst(MakeEdge(5, -2)), -2);
    EXPECT_EQ(creases::EdgeSecond(MakeEdge(5, -2)), 5);
    EXPECT_NE(MakeEdge(-1, -1), MakeEdge(2147483647, -2147483647 - 1));
}

// Toggles and inserts of clustered and far-apart edges, many of them erased
// again (the deletion that must not break later lookups), checked against an
// ordered set after every step.
// Twice: in a set that grows, and in one given its room beforehand (a table
// three quarters full, whose probe runs wrap around its end).
TEST(EdgeSetTest, MatchesAnOrderedSetUnderToggling) {
  for (std::size_t room : {std::size_t(0), std::size_t(1000)}) {
    EdgeSet set;
    set.reserve(room);
    std::set<Edge> reference;
    unsigned state = 5;
    auto next = [&state] { return state = state * 1664525u + 1013904223u; };
    for (int step = 0; step < 200000; ++step) {
        unsigned r = next();
        std::int32_t a = static_cast<std::int32_t>(r % 3 == 0 ? next() : next() % 300);
        std::int32_t b = static_cast<std::int32_t>(r % 3 == 0 ? next() : a + next() % 5);
        Edge e = MakeEdge(a, b);
        if (r % 7 == 0) {
            EXPECT_EQ(set.insert(e), reference.insert(e).second);
        } else {
            bool present = reference.erase(e) == 0;
            if (present) reference.insert(e);
            ASSERT_EQ(set.toggle(e), present);
        }
        ASSERT_EQ(set.size(), reference.size());
        Edge probe = MakeEdge(static_cast<std::int32_t>(next() % 300), static_cast<std::int32_t>(next() % 300));
        ASSERT_EQ(set.find(probe) != EdgeSet::npos, reference.count(probe) == 1);
    }
    std::set<Edge> listed;
    set.forEach([&listed](Edge e) { listed.insert(e); });
    EXPECT_EQ(listed, reference);
  }
}

TEST(EdgeSetTest, ReservedRoomHoldsThatManyWithoutGrowing) {
    for (std::size_t count : {1u, 7u, 1000u, 100003u}) {
        EdgeSet set;
        set.reserve(count);
        const std::size_t slots = set.slotCount();
        EXPECT_LE(count * 4, slots * 3 + 3) << count;  // three quarters full at most
        for (std::size_t i = 0; i < count; ++i) ASSERT_TRUE(set.insert(MakeEdge(static_cast<std::int32_t>(i), 7)));
        EXPECT_EQ(set.slotCount(), slots) << count;
        for (std::size_t i = 0; i < count; ++i) ASSERT_NE(set.find(MakeEdge(7, static_cast<std::int32_t>(i))), EdgeSet::npos);
        EXPECT_EQ(set.find(MakeEdge(-1, 7)), EdgeSet::npos);
    }
}

}  // namespace
