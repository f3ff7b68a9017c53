// The C++ side of the POSIX library: linked like a C++ caller links it.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include "main/Pellando.h"

namespace {

TEST(PellandoClassTest, HelloWorldWritesTheTextAndOneNewline) {
    testing::internal::CaptureStdout();
    Pellando().HelloWorld("abc");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "abc\n");
}

TEST(PellandoClassTest, OnlyThePrivateHelperIsHidden) {
    void* self = dlopen(nullptr, RTLD_NOW);
    ASSERT_NE(self, nullptr);
    EXPECT_NE(dlsym(self, "_ZN8Pellando10HelloWorldEPKc"), nullptr);
    EXPECT_EQ(dlsym(self, "_ZN12PellandoPriv14HelloWorldPrivEPKc"), nullptr);
}

}  // namespace
