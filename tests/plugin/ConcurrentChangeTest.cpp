// Another program changes the output while an export is still reading its
// input. The input here is a pipe, so that the test decides when the export
// gets the rest of it; files are changed in between.
#include <gtest/gtest.h>

#ifndef _WIN32

#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

#include "Platform.h"
#include "Plugin.h"
#include "Scratch.h"

namespace {

using Names = std::vector<std::string>;

// Calls `exportCall` with the pipe `fifo` as its input; the pipe first
// gets `head`, then `change` runs, then the pipe gets `tail` and closes.
float CallWhileChanging(const std::string& fifo, const std::string& head, const std::string& tail,
                        const std::function<void()>& change, const std::function<float()>& exportCall) {
    if (mkfifo(fifo.c_str(), 0600) != 0) throw std::runtime_error("cannot make a pipe");
    std::thread writer([&] {
        std::FILE* pipe = std::fopen(fifo.c_str(), "wb");
        std::fwrite(head.data(), 1, head.size(), pipe);
        std::fflush(pipe);
        // The export holds the pipe open and has read the head once it blocks
        // on the rest; a short pause lets it get there.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        change();
        std::fwrite(tail.data(), 1, tail.size(), pipe);
        std::fclose(pipe);
    });
    float result = exportCall();
    writer.join();
    return result;
}

std::string ManyLines(const char* line, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += line;
    return text;
}

struct Change {
    const char* name;
    std::function<void(Scratch&)> apply;
    bool refused;  // the export must refuse and keep what the change left
};

const std::vector<Change>& Changes() {
    static const std::vector<Change> changes = {
        {"replaced", [](Scratch& s) { s.write("new.tmp", "theirs\n"); std::rename(s.path("new.tmp").c_str(), s.path("out.obj").c_str()); }, true},
        {"changed in place", [](Scratch& s) { std::FILE* f = std::fopen(s.path("out.obj").c_str(), "ab"); std::fputs("theirs\n", f); std::fclose(f); }, true},
        {"removed", [](Scratch& s) { std::remove(s.path("out.obj").c_str()); }, false},
    };
    return changes;
}

TEST(ConcurrentChangeTest, SmoothingRewriteKeepsAnOutputChangedMeanwhile) {
    for (const Change& change : Changes()) {
        Scratch scratch;
        scratch.write("out.obj", "mine\n");
        std::string fifo = scratch.path("in.obj"), out = scratch.path("out.obj");
        // More than the reader's first chunk, so that the export has opened
        // its output before it waits for the rest.
        float result = CallWhileChanging(
            fifo, ManyLines("s 1\n", 600000), ManyLines("v 1 2 3\n", 1000), [&] { change.apply(scratch); },
            [&] { return Call("SmoothtoGroupOBJ", fifo.c_str(), 0, out.c_str()); });
        if (change.refused) {
            EXPECT_EQ(result, PELLANDO_CANNOT_WRITE) << change.name;
            EXPECT_NE(scratch.read("out.obj").find("theirs"), std::string::npos) << change.name;
        } else {
            EXPECT_EQ(result, PELLANDO_OK) << change.name;
            EXPECT_EQ(scratch.read("out.obj"), platform::Lines({"# Exported from Pellando plugin test version"}) +
                                                   ManyLines("g  1\n", 600000) + ManyLines("v 1 2 3\n", 1000))
                << change.name;
        }
        EXPECT_EQ(scratch.names(), (Names{"in.obj", "out.obj"})) << change.name;
    }
}

}  // namespace

#endif
