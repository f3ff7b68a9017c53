#include <gtest/gtest.h>

#include <cmath>

#include "Platform.h"
#include "Plugin.h"

namespace {

TEST(VersionTest, AnswersTheBuildsVersionWhateverItIsGiven) {
    EXPECT_EQ(Export("Version")(nullptr, 0, nullptr), platform::kVersion);
    char buffer[4] = "abc";
    EXPECT_EQ(Export("Version")("text", NAN, buffer), platform::kVersion);
    EXPECT_STREQ(buffer, "abc");
}

}  // namespace
