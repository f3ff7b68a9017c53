// The exports called from several threads at once, each thread on files of
// its own, as scripts and pipeline tools call them: every result and every
// byte written must be what the same calls give one at a time.
#include <gtest/gtest.h>

#include <exception>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "MayaScene.h"
#include "Plugin.h"
#include "Scratch.h"

namespace {

// A grid of size x size quads in `bands` groups (columns) and two smoothing
// groups (rows), with the texture and normal lines a rewrite drops. `shift`
// moves every vertex, for a swap source of the same vertex count.
std::string GridMesh(int size, int bands, double shift = 0) {
    std::string obj = "# grid\nmtllib grid.mtl\n";
    for (int y = 0; y <= size; ++y)
        for (int x = 0; x <= size; ++x)
            obj += "v " + std::to_string(x + shift) + " " + std::to_string(y) + " 0\nvt 0.5 0.5\n";
    obj += "vn 0 0 1\n";
    std::string group, smooth;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::string g = "g band" + std::to_string(x * bands / size) + "\n";
            std::string s = "s " + std::to_string(y * 2 / size + 1) + "\n";
            if (g != group) obj += group = g;
            if (s != smooth) obj += smooth = s;
            int a = y * (size + 1) + x + 1;
            obj += "f " + std::to_string(a) + "/1/1 " + std::to_string(a + 1) + "/1/1 " +
                   std::to_string(a + size + 2) + "/1/1 " + std::to_string(a + size + 1) + "/1/1\n";
        }
    }
    return obj;
}

std::string GridScene(int size) {
    maya::EdgeList edges;
    for (int y = 0; y <= size; ++y)
        for (int x = 0; x <= size; ++x) {
            int v = y * (size + 1) + x;
            if (x < size) edges.emplace_back(v, v + 1);
            if (y < size) edges.emplace_back(v + size + 1, v);
        }
    return maya::Scene(edges);
}

// The files a job starts from, made once and only read by the threads.
struct Inputs {
    int bands;
    std::vector<std::pair<std::string, std::string>> files;  // name, bytes
};

Inputs MakeInputs(int size, int bands) {
    const std::string mesh = GridMesh(size, bands), scene = GridScene(size);
    return {bands,
            {{"mesh.obj", mesh},
             {"target.obj", mesh},
             {"moved.obj", GridMesh(size, bands, 0.5)},
             {"small.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"},  // no group line either
             {"scene.ma", scene},
             {"scene-s.ma", scene},
             {"unwanted.obj", "v 0 0 0\n"},
             {"junk/a.obj", "a\n"},
             {"junk/b.txt", "b\n"},
             {"junk/README", "kept\n"}}};
}

// What a job leaves: each call's result, then every file of its folder with
// its bytes, and a subfolder with the names left in it (a stray temporary
// file shows up as a name too).
struct Outcome {
    std::vector<float> results;
    std::vector<std::pair<std::string, std::string>> files;
};

// The bytes of the file `name` among `files`; "" when there is none.
std::string BytesOf(const std::vector<std::pair<std::string, std::string>>& files, const std::string& name) {
    for (const auto& file : files)
        if (file.first == name) return file.second;
    return "";
}

// Every export that rewrites or deletes files, on success and on failure, in
// a fresh folder of its own.
Outcome RunJob(const Inputs& inputs) {
    Scratch scratch;
    Scratch::MakeFolder(scratch.path("junk"));
    for (const auto& [name, bytes] : inputs.files) scratch.write(name, bytes);
    auto path = [&scratch](const char* name) { return scratch.path(name); };
    auto call = [](const char* name, const std::string& text, double number, const std::string& buffer) {
        return Call(name, text.c_str(), number, buffer.c_str());
    };
    Outcome outcome;
    outcome.results = {
        call("SmoothtoGroupOBJ", path("mesh.obj"), 0, path("smooth.obj")),
        call("SmoothtoGroupOBJ", path("smooth.obj"), 0, path("smooth.obj")),  // in place
        call("GetCreases", path("mesh.obj"), 0, path("scene.ma")),            // by group
        call("GetCreases", path("mesh.obj"), 1, path("scene-s.ma")),          // by smoothing group
        call("SwapVertices", path("moved.obj"), 0, path("target.obj")),
        call("SwapVertices", path("small.obj"), 0, path("target.obj")),       // counts differ
        call("GetCreases", path("small.obj"), 0, path("scene.ma")),           // no group boundary
        call("GetCreases", path("missing.obj"), 0, path("scene-s.ma")),
        call("FileDelete", path("unwanted.obj"), 0, ""),
        call("EmptyFolder", path("junk"), 0, ""),
    };
    for (const std::string& name : scratch.names()) {
        if (name != "junk") {
            outcome.files.emplace_back(name, scratch.read(name));
            continue;
        }
        std::string left;
        for (const std::string& entry : Scratch::NamesIn(scratch.path(name))) left += entry + "\n";
        outcome.files.emplace_back(name + "/", left);
    }
    return outcome;
}

TEST(ParallelCallsTest, ThreadsOnTheirOwnFilesGetWhatCallsOneAtATimeGet) {
    const std::vector<Inputs> jobs = {MakeInputs(40, 5), MakeInputs(17, 2), MakeInputs(29, 3)};

    // One at a time first: the outcome every thread must match.
    std::vector<Outcome> expected;
    for (const Inputs& inputs : jobs) {
        expected.push_back(RunJob(inputs));
        const Outcome& once = expected.back();
        EXPECT_EQ(once.results, (std::vector<float>{0, 0, float(inputs.bands), 2, 0, -1, -4, -1, 0, 0}));
        // Every rewrite left its mark.
        EXPECT_NE(BytesOf(once.files, "smooth.obj"), "");
        EXPECT_EQ(BytesOf(once.files, "junk/"), "README\n");
        for (const char* name : {"target.obj", "scene.ma", "scene-s.ma"})
            EXPECT_NE(BytesOf(once.files, name), BytesOf(inputs.files, name)) << name;
    }

    // Then every job in several threads at once, round after round, each
    // thread starting at another job so that different work overlaps.
    const int threads = 4, rounds = 20;
    std::vector<std::vector<Outcome>> outcomes(threads);
    std::vector<std::string> errors(threads);  // what a fixture step threw
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            try {
                for (int round = 0; round < rounds; ++round)
                    outcomes[t].push_back(RunJob(jobs[(t + round) % jobs.size()]));
            } catch (const std::exception& e) {
                errors[t] = e.what();
            }
        });
    }
    for (std::thread& worker : workers) worker.join();

    for (int t = 0; t < threads; ++t) {
        ASSERT_EQ(errors[t], "") << "thread " << t;
        ASSERT_EQ(outcomes[t].size(), static_cast<std::size_t>(rounds));
        for (int round = 0; round < rounds; ++round) {
            const Outcome& want = expected[(t + round) % jobs.size()];
            const Outcome& got = outcomes[t][round];
            EXPECT_EQ(got.results, want.results) << "thread " << t << ", round " << round;
            if (got.files == want.files) continue;
            ADD_FAILURE() << "thread " << t << ", round " << round << ": the files differ";
            ASSERT_EQ(got.files.size(), want.files.size());
            for (std::size_t i = 0; i < got.files.size(); ++i) {
                EXPECT_EQ(got.files[i].first, want.files[i].first);
                EXPECT_TRUE(got.files[i].second == want.files[i].second) << got.files[i].first << " differs";
            }
        }
    }
}

}  // namespace
