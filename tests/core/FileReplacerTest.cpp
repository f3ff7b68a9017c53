#include "textio/FileReplacer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Child.h"
#include "Platform.h"
#include "Scratch.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

TEST(FileReplacerTest, CommitReplacesAndAbandonKeeps) {
    Scratch scratch;
    scratch.write("out.txt", "old");
    {
        textio::FileReplacer out;
        ASSERT_TRUE(out.open(scratch.path("out.txt").c_str()));
        out.line("new");
        EXPECT_EQ(scratch.read("out.txt"), "old");  // nothing shows before commit
        EXPECT_TRUE(out.commit());
    }
    EXPECT_EQ(scratch.read("out.txt"), platform::Lines({"new"}));
    {
        textio::FileReplacer out;
        ASSERT_TRUE(out.open(scratch.path("out.txt").c_str()));
        out.line("dropped");
    }  // destroyed without commit
    EXPECT_EQ(scratch.read("out.txt"), platform::Lines({"new"}));
    EXPECT_EQ(scratch.names(), Names{"out.txt"});
}

TEST(FileReplacerTest, CreatesANewFile) {
    Scratch scratch;
    textio::FileReplacer out;
    ASSERT_TRUE(out.open(scratch.path("new.txt").c_str()));
    out.write("abc");
    EXPECT_TRUE(out.commit());
    EXPECT_EQ(scratch.read("new.txt"), "abc");
    EXPECT_EQ(scratch.names(), Names{"new.txt"});
}

TEST(FileReplacerTest, RefusesWhatCannotBeWritten) {
    Scratch scratch;
    fs::create_directory(scratch.path("folder"));
    for (const std::string& target : {scratch.path("folder"), scratch.path("missing") + platform::kSeparator + "out.txt"}) {
        textio::FileReplacer out;
        EXPECT_FALSE(out.open(target.c_str())) << target;
        out.line("ignored");
        EXPECT_FALSE(out.commit());
    }
    EXPECT_EQ(scratch.names(), Names{"folder"});
}

// Content written in pieces of many sizes, then changed in the middle by
// splices that grow and shrink it, with tails longer than the write buffer.
TEST(FileReplacerTest, SpliceMovesTheRestOfTheContent) {
    Scratch scratch;
    std::string expected;
    textio::FileReplacer out;
    ASSERT_TRUE(out.open(scratch.path("out.txt").c_str()));
    for (int i = 0; expected.size() < (3u << 20); ++i) {
        std::string piece = std::to_string(i) + std::string(i % 97, 'a' + i % 26) + ";";
        out.write(piece);
        expected += piece;
    }
    struct Change {
        std::uint64_t from, to;
        std::string text;
    };
    const std::vector<Change> changes = {
        {10, 20, std::string(5000, 'G')},          // grows: the tail moves back first
        {5, 2000000, "shrunk"},                   // shrinks: the tail moves front first
        {100, 100, "inserted"},                   // pure insertion
        {50, 60, ""},                             // pure removal
        {0, 0, "start"},
    };
    for (const Change& change : changes) {
        out.splice(change.from, change.to, change.text);
        expected.replace(change.from, change.to - change.from, change.text);
        ASSERT_EQ(out.offset(), expected.size());
    }
    std::uint64_t end = out.offset();
    out.splice(end, end, "end");
    expected += "end";
    out.write("+more");
    expected += "+more";
    ASSERT_TRUE(out.commit());
    EXPECT_TRUE(scratch.read("out.txt") == expected);
}

#ifndef _WIN32

TEST(FileReplacerTest, KeepsPermissionBitsAndSymbolicLinks) {
    Scratch scratch;
    scratch.write("real.txt", "old");
    ASSERT_EQ(chmod(scratch.path("real.txt").c_str(), 0640), 0);
    fs::create_directory(scratch.path("links"));
    fs::create_symlink("../real.txt", scratch.path("links/link.txt"));
    textio::FileReplacer out;
    ASSERT_TRUE(out.open(scratch.path("links/link.txt").c_str()));
    out.write("new");
    ASSERT_TRUE(out.commit());
    EXPECT_TRUE(fs::is_symlink(scratch.path("links/link.txt")));
    EXPECT_EQ(scratch.read("real.txt"), "new");
    struct stat st;
    ASSERT_EQ(stat(scratch.path("real.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(scratch.names(), (Names{"links", "real.txt"}));
}

TEST(FileReplacerTest, AFullDiskLeavesTheTargetAsItWas) {
    Scratch scratch;
    const std::string old(100000, 'o');
    scratch.write("out.txt", old);
    float committed = RunInChild(ChildLimits::FileSize(50000), [&] {
        textio::FileReplacer out;
        if (!out.open(scratch.path("out.txt").c_str())) return -1.0f;
        for (int i = 0; i < 10000; ++i) out.line("a line of text that is written again and again");
        return out.commit() ? 1.0f : 0.0f;
    });
    EXPECT_EQ(committed, 0.0f);
    EXPECT_TRUE(scratch.read("out.txt") == old);
    EXPECT_EQ(scratch.names(), Names{"out.txt"});
}

// A folder in which no new file may be made, holding a file that may be
// written: the content goes over the file with a plain truncating write.
TEST(FileReplacerTest, WritesInPlaceWhereNoTemporaryFileMayBeMade) {
    Scratch scratch;
    fs::create_directory(scratch.path("locked"));
    scratch.write("locked/out.txt", "old content");
    ASSERT_EQ(chmod(scratch.path("locked/out.txt").c_str(), 0666), 0);
    ASSERT_EQ(chmod(scratch.path("locked").c_str(), 0555), 0);
    ASSERT_EQ(chmod(scratch.path().c_str(), 0755), 0);
    float committed = RunInChild(ChildLimits::Unprivileged(), [&] {
        textio::FileReplacer out;
        if (!out.open(scratch.path("locked/out.txt").c_str())) return -1.0f;
        out.write("new");
        return out.commit() ? 1.0f : 0.0f;
    });
    EXPECT_EQ(committed, 1.0f);
    EXPECT_EQ(scratch.read("locked/out.txt"), "new");
    // A new file cannot be made there at all.
    float created = RunInChild(ChildLimits::Unprivileged(), [&] {
        textio::FileReplacer out;
        return out.open(scratch.path("locked/new.txt").c_str()) ? 1.0f : 0.0f;
    });
    EXPECT_EQ(created, 0.0f);
}

TEST(FileReplacerTest, RefusesAReadOnlyFile) {
    Scratch scratch;
    scratch.write("out.txt", "old");
    ASSERT_EQ(chmod(scratch.path("out.txt").c_str(), 0444), 0);
    ASSERT_EQ(chmod(scratch.path().c_str(), 0777), 0);
    float opened = RunInChild(ChildLimits::Unprivileged(), [&] {
        textio::FileReplacer out;
        return out.open(scratch.path("out.txt").c_str()) ? 1.0f : 0.0f;
    });
    EXPECT_EQ(opened, 0.0f);
    EXPECT_EQ(scratch.read("out.txt"), "old");
    EXPECT_EQ(scratch.names(), Names{"out.txt"});
}

#else

TEST(FileReplacerTest, RefusesAReadOnlyFile) {
    Scratch scratch;
    scratch.write("out.txt", "old");
    fs::permissions(scratch.path("out.txt"), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    textio::FileReplacer out;
    EXPECT_FALSE(out.open(scratch.path("out.txt").c_str()));
    EXPECT_FALSE(out.commit());
    EXPECT_EQ(scratch.read("out.txt"), "old");
    EXPECT_EQ(scratch.names(), Names{"out.txt"});
}

#endif

}  // namespace
