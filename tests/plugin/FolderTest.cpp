#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Child.h"
#include "Platform.h"
#include "Plugin.h"
#include "Scratch.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

const std::string kSep(1, platform::kSeparator);

float Open(const char* path) { return Export("OpenFolder")(path, 0, nullptr); }
float Open(const std::string& path) { return Open(path.c_str()); }
float Close() { return Export("CloseFolder")(nullptr, 0, nullptr); }
float Delete(const char* path) { return Export("FileDelete")(path, 0, nullptr); }
float Empty(const char* path) { return Export("EmptyFolder")(path, 0, nullptr); }
float Empty(const std::string& path) { return Empty(path.c_str()); }

// The largest buffer the host must hand GetFile, with room behind it to see
// that nothing is written past the name's NUL.
struct Buffer {
    char bytes[300];
    Buffer() { std::memset(bytes, '#', sizeof bytes); }
    bool onlyNameWritten() const {
        std::size_t end = std::strlen(bytes) + 1;
        return std::all_of(bytes + end, bytes + sizeof bytes, [](char c) { return c == '#'; });
    }
};

float Next(std::string& name) {
    Buffer buffer;
    float result = Export("GetFile")(nullptr, 0, buffer.bytes);
    if (result == PELLANDO_OK) {
        name = buffer.bytes;
        EXPECT_TRUE(buffer.onlyNameWritten()) << name;
    } else {
        EXPECT_EQ(buffer.bytes[0], '#') << "GetFile wrote into the buffer and answered " << result;
    }
    return result;
}

// GetFile until the listing's end; the names sorted.
Names Rest() {
    Names names;
    std::string name;
    float result;
    while ((result = Next(name)) == PELLANDO_OK) names.push_back(name);
    EXPECT_EQ(result, PELLANDO_END_OF_LISTING);
    std::sort(names.begin(), names.end());
    return names;
}

// The one open listing outlives a test: each starts and ends with none.
class FolderTest : public testing::Test {
protected:
    void SetUp() override { Close(); }
    void TearDown() override { Close(); }
};

TEST_F(FolderTest, ListsEveryEntryThenAnswersEndOfListingUntilClosed) {
    Scratch scratch;
    scratch.write("a.obj", "");
    scratch.write("README", "");
    fs::create_directory(scratch.path("sub"));
    scratch.write("sub/inner.obj", "");
    // "." and ".." come like any other entry, wherever the platform puts them.
    for (const std::string& path : {scratch.path(), scratch.path() + kSep}) {
        ASSERT_EQ(Open(path), PELLANDO_OK) << path;
        EXPECT_EQ(Rest(), (Names{".", "..", "README", "a.obj", "sub"})) << path;
        std::string name;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(Next(name), PELLANDO_END_OF_LISTING);
        EXPECT_EQ(Close(), PELLANDO_OK);
        EXPECT_EQ(Close(), PELLANDO_FAILED);
        EXPECT_EQ(Next(name), PELLANDO_FAILED);
    }
}

TEST_F(FolderTest, WithNoFolderOpenGetFileAndCloseFolderAnswerMinusOne) {
    std::string name;
    EXPECT_EQ(Next(name), PELLANDO_FAILED);
    EXPECT_EQ(Export("GetFile")(nullptr, 0, nullptr), PELLANDO_FAILED);
    EXPECT_EQ(Close(), PELLANDO_FAILED);
}

// A missing buffer is refused without losing the entry it would have taken.
TEST_F(FolderTest, GetFileWithoutABufferAnswersMinusTwoAndDoesNotMoveOn) {
    Scratch scratch;
    scratch.write("a.obj", "");
    scratch.write("b.obj", "");
    ASSERT_EQ(Open(scratch.path()), PELLANDO_OK);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Export("GetFile")(nullptr, 0, nullptr), PELLANDO_NULL_POINTER);
    EXPECT_EQ(Rest(), (Names{".", "..", "a.obj", "b.obj"}));
    EXPECT_EQ(Export("GetFile")(nullptr, 0, nullptr), PELLANDO_NULL_POINTER);
}

// POSIX: the longest name the file system allows fills the 256-byte buffer.
// Windows: as long a name as the ANSI path limit of 260 bytes leaves.
TEST_F(FolderTest, GetFileCopiesTheWholeName) {
    Scratch scratch;
    const std::size_t length = platform::kWindowsRules ? 258 - scratch.path().size() - 1 : 255;
    const std::string name = std::string(length - 4, 'n') + ".obj";
    scratch.write(name, "");
    ASSERT_EQ(Open(scratch.path()), PELLANDO_OK);
    EXPECT_EQ(Rest(), (Names{".", "..", name}));
}

TEST_F(FolderTest, OpenFolderReplacesTheOpenListing) {
    Scratch first, second;
    first.write("first-1.txt", "");
    first.write("first-2.txt", "");
    second.write("second.txt", "");
    ASSERT_EQ(Open(first.path()), PELLANDO_OK);
    std::string name;
    ASSERT_EQ(Next(name), PELLANDO_OK);
    ASSERT_EQ(Open(second.path()), PELLANDO_OK);
    EXPECT_EQ(Rest(), (Names{".", "..", "second.txt"}));

    // A failed opening ends the listing that was open too.
    const std::string notFolders[] = {first.path("first-1.txt"), first.path("missing"), ""};
    for (const std::string& path : notFolders) {
        ASSERT_EQ(Open(first.path()), PELLANDO_OK);
        EXPECT_EQ(Open(path), PELLANDO_FAILED) << path;
        EXPECT_EQ(Next(name), PELLANDO_FAILED) << path;
        EXPECT_EQ(Close(), PELLANDO_FAILED) << path;
    }
    ASSERT_EQ(Open(first.path()), PELLANDO_OK);
    EXPECT_EQ(Open(nullptr), PELLANDO_FAILED);
    EXPECT_EQ(Next(name), PELLANDO_FAILED);
}

TEST_F(FolderTest, FileDeleteAnswersWhatTheRemovalGave) {
    Scratch scratch;
    scratch.write("a.obj", "");
    scratch.write("README", "");
    fs::create_directory(scratch.path("empty"));
    fs::create_directory(scratch.path("full"));
    scratch.write("full/inside.obj", "");
    struct Case {
        std::string path;
        float result;
    };
    const float emptyFolder = platform::kRemoveDeletesEmptyFolders ? PELLANDO_OK : PELLANDO_FAILED;
    const std::vector<Case> cases = {
        {scratch.path("a.obj"), PELLANDO_OK},
        {scratch.path("README"), PELLANDO_OK},
        {scratch.path("a.obj"), PELLANDO_FAILED},  // gone already
        {scratch.path("missing.obj"), PELLANDO_FAILED},
        {scratch.path("full"), PELLANDO_FAILED},
        {scratch.path("empty"), emptyFolder},
        {"", PELLANDO_FAILED},
    };
    for (const Case& c : cases) EXPECT_EQ(Delete(c.path.c_str()), c.result) << c.path;
    EXPECT_EQ(Delete(nullptr), PELLANDO_FAILED);
    EXPECT_EQ(scratch.names(), platform::kRemoveDeletesEmptyFolders ? Names{"full"} : (Names{"empty", "full"}));
    EXPECT_TRUE(scratch.exists("full/inside.obj"));
}

// Files named with an extension go; names without one and subfolders stay,
// and nothing inside a subfolder is touched. The separator at the end of the
// path may be there or not.
TEST_F(FolderTest, EmptyFolderDeletesTheFilesWithAnExtension) {
    Scratch scratch;
    const std::string spellings[] = {"", kSep, "/"};
    for (const std::string& end : spellings) {
        const std::string folder = scratch.path("folder");
        fs::create_directory(folder);
        for (const char* name : {"folder/a.obj", "folder/b.txt", "folder/README", "folder/sub/inner.obj"}) {
            fs::create_directories(fs::path(scratch.path(name)).parent_path());
            scratch.write(name, "");
        }
        EXPECT_EQ(Empty(folder + end), PELLANDO_OK) << "\"" << end << "\"";
        EXPECT_EQ(Scratch::NamesIn(folder), (Names{"README", "sub"})) << "\"" << end << "\"";
        EXPECT_EQ(Scratch::NamesIn(folder + kSep + "sub"), Names{"inner.obj"}) << "\"" << end << "\"";
        fs::remove_all(folder);
    }
}

// "." and ".." are passed over by their names, wherever the listing puts
// them: every one of many files goes. A subfolder named like a file is
// handed to the removal (POSIX removes it when empty); a name longer than
// fits 255 bytes of path is an entry like the others.
TEST_F(FolderTest, EmptyFolderLooksAtEveryEntryByItsName) {
    Scratch scratch;
    Names stay = {"README", "full.data"};
    for (int i = 0; i < 40; ++i) scratch.write("file" + std::to_string(i) + ".tmp", "");
    scratch.write(".hidden", "");
    scratch.write("README", "");
    fs::create_directory(scratch.path("old.data"));
    if (!platform::kRemoveDeletesEmptyFolders) stay.push_back("old.data");
    fs::create_directory(scratch.path("full.data"));
    scratch.write("full.data/inside.obj", "");
    if (platform::kNamesMayEndInADot) {
        scratch.write("notes.", "");
        stay.push_back("notes.");
    }
    const std::size_t pathLength = 258;
    const std::size_t nameLength = pathLength - scratch.path().size() - 1;
    ASSERT_LT(nameLength, 256u);
    scratch.write(std::string(nameLength - 4, 'x') + ".obj", "");
    std::sort(stay.begin(), stay.end());

    EXPECT_EQ(Empty(scratch.path()), PELLANDO_OK);
    EXPECT_EQ(scratch.names(), stay);
    EXPECT_TRUE(scratch.exists("full.data/inside.obj"));
}

TEST_F(FolderTest, EmptyFolderAnswersMinusOneForWhatIsNoFolder) {
    Scratch scratch;
    scratch.write("a.obj", "");
    for (const std::string& path : {scratch.path("missing"), scratch.path("a.obj"), scratch.path("a.obj") + kSep})
        EXPECT_EQ(Empty(path), PELLANDO_FAILED) << path;
    EXPECT_EQ(Empty(nullptr), PELLANDO_FAILED);
    EXPECT_EQ(scratch.names(), Names{"a.obj"});
#ifndef _WIN32
    // An empty text must not become the root folder. Were it taken for one,
    // a caller that is not root could not delete anything there.
    EXPECT_EQ(RunInChild(ChildLimits::Unprivileged(), [] { return Empty(""); }), PELLANDO_FAILED);
#endif
}

// Entries that cannot be deleted stay, the others still go, and the answer is
// 0. Windows: files with the read-only attribute. POSIX: files of another
// user in a folder with the sticky bit, for a caller that is not root.
TEST_F(FolderTest, EntriesThatCannotBeDeletedStay) {
    Scratch scratch;
    const std::string folder = scratch.path("folder");
    fs::create_directory(folder);
    const Names locked = {"locked.obj", "locked.txt"}, free = {"free.obj"};
    for (const Names* names : {&locked, &free})
        for (const std::string& name : *names) scratch.write("folder/" + name, "");
#ifndef _WIN32
    ASSERT_EQ(chmod(folder.c_str(), 01777), 0);
    for (const std::string& name : free) ASSERT_EQ(chown((folder + "/" + name).c_str(), 65534, 65534), 0);
    auto asCaller = [](const std::function<float()>& work) { return RunInChild(ChildLimits::Unprivileged(), work); };
#else
    for (const std::string& name : locked)
        fs::permissions(folder + kSep + name, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    auto asCaller = [](const std::function<float()>& work) { return work(); };
#endif
    const std::string lockedFile = folder + kSep + "locked.obj";
    EXPECT_EQ(asCaller([&] { return Empty(folder); }), PELLANDO_OK);
    EXPECT_EQ(Scratch::NamesIn(folder), locked);
    EXPECT_EQ(asCaller([&] { return Empty(folder); }), PELLANDO_OK);  // nothing left to delete
    EXPECT_EQ(asCaller([&] { return Delete(lockedFile.c_str()); }), PELLANDO_FAILED);
    EXPECT_EQ(Scratch::NamesIn(folder), locked);
}

}  // namespace
