#include "leanOBJ/FaceEdges.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "leanOBJ/EdgeSet.h"
#include "leanOBJ/Integers.h"

namespace {

using creases::EdgeFirst;
using creases::EdgeSecond;
using creases::MakeEdge;

// The edges a face line gives, as "a b" with the smaller index first.
std::vector<std::string> Edges(const std::string& line, std::int64_t vertexLines = 0) {
    std::vector<std::string> keys;
    creases::VisitFaceEdges(line, vertexLines, [&keys](std::int32_t a, std::int32_t b) {
        creases::Edge e = MakeEdge(a, b);
        keys.push_back(std::to_string(EdgeFirst(e)) + " " + std::to_string(EdgeSecond(e)));
    });
    return keys;
}

using Keys = std::vector<std::string>;

TEST(FaceEdgesTest, EdgesOfFaceLines) {
    struct Case {
        const char* line;
        Keys keys;
    };
    const std::vector<Case> cases = {
        {"f 1/2/3 4/5/6 7/8/9", {"0 3", "3 6", "0 6"}},
        {"f 1//3 4//6 7//9", {"0 3", "3 6", "0 6"}},
        {"f 1/2 4/5 7/8", {"0 3", "3 6", "0 6"}},
        {"f 1 2 3", {"0 1", "1 2", "0 2"}},
        {"f 10 2 3 4", {"1 9", "1 2", "2 3", "3 9"}},
        {"f 1 2 3 x", {"0 1", "1 2", "0 2"}},
        {"f 1 2", {"0 1", "0 1"}},
        {"f 5", {"4 4"}},
        {"f1 2 3", {"1 2", "1 2"}},
        {"f\t1\t2\t3", {"0 1", "1 2", "0 2"}},
        {"f 1/1/1\t2/2/2\t3/3/3", {"0 0"}},   // a tab ends no vertex reference
        {"f  1   2  3  ", {"0 1", "1 2", "0 2"}},
        {"f 1 2 3\r", {"0 1", "1 2", "0 2"}},
        {"f 1-2 +3", {"-2 0", "-2 2", "0 2"}},   // numbers read as a stream reads them
        {"f 0 1", {"-1 0", "-1 0"}},
        {"f 1 2 99999999999 4", {"0 1", "0 1"}},   // beyond 32 bits ends the list
        {"f 2147483647 -2147483648", {"-2147483648 2147483646", "-2147483648 2147483646"}},
        {"f", {}},
        {"f ", {}},
        {"f   ", {}},
        {"f x 1 2", {}},
        {"f /1 2 3", {"1 2", "1 2"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Edges(c.line), c.keys) << c.line;
}

// A negative reference counts back from the vertex lines read so far.
TEST(FaceEdgesTest, RelativeReferencesCountBackFromTheVerticesRead) {
    EXPECT_EQ(Edges("f -3 -2 -1", 3), Edges("f 1 2 3"));
    EXPECT_EQ(Edges("f -1 -2 -3", 10), Edges("f 10 9 8"));
    EXPECT_EQ(Edges("f -1/-1/-1 1", 4), Edges("f 4 1"));
    EXPECT_EQ(Edges("f -5 1", 3), (Keys{"-2 0", "-2 0"}));  // before the first vertex: no match anywhere
}

// Inside a run of lines a face line ends at its LF: the next line adds nothing.
TEST(FaceEdgesTest, AFaceLineEndsAtItsLineFeed) {
    for (std::string text : {"f 1 2 3\nf 4 5 6\n", "f 1/1/1 2/2/2 3/3/3\n7 8 9", "f 1 2 3 x\n4 5 6", "f 1 2 3\r\n4"}) {
        Keys keys;
        const char* end = creases::VisitFaceEdges(text.data(), text.data() + text.size(), 0,
                                                  [&keys](std::int32_t a, std::int32_t b) {
                                                      keys.push_back(std::to_string(a) + " " + std::to_string(b));
                                                  });
        EXPECT_EQ(keys, (Keys{"0 1", "1 2", "2 0"})) << text;
        EXPECT_EQ(end, text.data() + text.find('\n')) << text;
    }
    for (std::string text : {"f\n1 2 3\n", "f \n1 2 3\n", "fx\n1 2\n"}) {
        bool any = false;
        creases::VisitFaceEdges(text.data(), text.data() + text.size(), 0, [&any](std::int32_t, std::int32_t) { any = true; });
        EXPECT_FALSE(any) << text;
    }
}

TEST(FaceEdgesTest, ReadsIntegersAsAStreamWould) {
    struct Case {
        const char* text;
        bool read;
        std::int32_t value;
        std::size_t used;
    };
    const std::vector<Case> cases = {
        {"0", true, 0, 1},          {"-0", true, 0, 2},        {"+7", true, 7, 2},
        {"007x", true, 7, 3},       {"2147483647", true, 2147483647, 10},
        {"-2147483648", true, -2147483647 - 1, 11},
        {"2147483648", false, 0, 0}, {"-2147483649", false, 0, 0},
        {"99999999999999999999", false, 0, 0},
        {"-", false, 0, 0},          {"+-1", false, 0, 0},       {" 1", false, 0, 0},
        {"x", false, 0, 0},          {"", false, 0, 0},
    };
    for (const Case& c : cases) {
        // Alone, and with more text after it (numbers are read several bytes
        // at a time where the text goes on).
        for (std::string after : {"", " 12345678", "/1/1"}) {
            std::string text = c.text + after;
            const char* p = text.data();
            std::int32_t value = 0;
            EXPECT_EQ(creases::ReadInt(p, text.data() + text.size(), value), c.read) << text;
            if (c.read) {
                EXPECT_EQ(value, c.value) << text;
            }
            if (c.read || after.empty()) {
                EXPECT_EQ(static_cast<std::size_t>(p - text.data()), c.used) << text;
            }
        }
    }
}

// Every count of digits, leading zeros, signs and what follows, against a
// string stream.
TEST(FaceEdgesTest, ReadsIntegersOfEveryLengthAsAStreamWould) {
    unsigned state = 77;
    auto next = [&state](unsigned range) { return ((state = state * 1103515245u + 12345u) >> 8) % range; };
    const char* after[] = {"", " ", "/", "\n", "x", ";", "\r\n", "  9 9 9 9 9", ":", "@"};
    for (int round = 0; round < 20000; ++round) {
        std::string text = next(8) == 0 ? (next(2) ? "-" : "+") : "";
        if (next(6) == 0) text.append(next(12), '0');
        for (unsigned digits = next(13); digits > 0; --digits) text += static_cast<char>('0' + next(10));
        text += after[next(sizeof after / sizeof *after)];
        std::istringstream stream(text);
        int expected = 0;
        const bool readable = static_cast<bool>(stream >> std::noskipws >> expected);
        const char* p = text.data();
        std::int32_t value = 0;
        ASSERT_EQ(creases::ReadInt(p, text.data() + text.size(), value), readable) << text;
        if (readable) {
            ASSERT_EQ(value, expected) << text;
            std::size_t used = stream.eof() ? text.size() : static_cast<std::size_t>(stream.tellg());
            ASSERT_EQ(static_cast<std::size_t>(p - text.data()), used) << text;
        } else {
            ASSERT_EQ(p, text.data()) << text;
        }
    }
}

}  // namespace
