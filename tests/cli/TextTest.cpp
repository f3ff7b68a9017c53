#include "Text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    std::string bytes, json, xml;
};

// Paths are bytes: whatever they hold, JSON and XML get valid UTF-8 text,
// with their own special characters escaped.
TEST(TextTest, PathsBecomeValidJsonAndXmlText) {
    const Case cases[] = {
        {"plain.obj", "\"plain.obj\"", "plain.obj"},
        {"C:\\models\\\"a\".obj", "\"C:\\\\models\\\\\\\"a\\\".obj\"", "C:\\models\\&quot;a&quot;.obj"},
        {"a<b>&c", "\"a<b>&c\"", "a&lt;b&gt;&amp;c"},
        {"t\ta\nb", "\"t\\ta\\nb\"", "t\ta\nb"},
        {"caf\xC3\xA9 \xE2\x82\xAC", "\"caf\xC3\xA9 \xE2\x82\xAC\"", "caf\xC3\xA9 \xE2\x82\xAC"},
        {"latin1 \xE9!", "\"latin1 \xEF\xBF\xBD!\"", "latin1 \xEF\xBF\xBD!"},
        {"cut \xE2\x82", "\"cut \xEF\xBF\xBD\xEF\xBF\xBD\"", "cut \xEF\xBF\xBD\xEF\xBF\xBD"},
        {"overlong \xC0\xAF", "\"overlong \xEF\xBF\xBD\xEF\xBF\xBD\"", "overlong \xEF\xBF\xBD\xEF\xBF\xBD"},
        {std::string("nul\0bell\a", 9), "\"nul\xEF\xBF\xBD" "bell\xEF\xBF\xBD\"", "nul\xEF\xBF\xBD" "bell\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cli::JsonString(c.bytes), c.json) << c.bytes;
        EXPECT_EQ(cli::XmlText(c.bytes), c.xml) << c.bytes;
    }
    EXPECT_EQ(cli::BaseName("C:\\models/head.obj"), "head.obj");
    EXPECT_EQ(cli::BaseName("head.obj"), "head.obj");
}

}  // namespace
