// Small tools the benchmarks share: timing, a run in a child process whose
// peak memory is measured alone, and the plain baselines (copy, line count)
// that a result is compared with.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace bench {

// A folder for the generated files, removed afterwards unless $BENCH_KEEP is
// set. Under $BENCH_DIR if set (the files are large), else the system's
// temporary folder.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    std::string path(const std::string& name) const { return root_ + "/" + name; }

private:
    std::string root_;
};

struct ChildRun {
    float result = 0;      // what the work answered
    double seconds = 0;    // wall-clock time of the work
    double peakMiB = 0;    // peak resident memory of the child
};

// Runs `work` in a child process; its peak memory is the work's alone.
ChildRun RunInChild(const std::function<float()>& work);

// Runs another program with these arguments, its output thrown away; the
// result is its exit status.
ChildRun RunProgram(const std::vector<std::string>& arguments);

// The middle value (the mean of the two middle ones for an even count).
double Median(std::vector<double> values);

// Seconds that `work` takes.
double Time(const std::function<void()>& work);

std::uint64_t FileSize(const std::string& path);

// A plain chunked copy, synced to disk when `sync` is set.
void CopyFile(const std::string& from, const std::string& to, bool sync);

// Counts the lines of a file with memchr, reading in large chunks.
std::uint64_t CountLines(const std::string& path);

// Calls an export of the library built beside the benchmark, as the host does.
float CallExport(const char* name, const std::string& text, double number, const std::string& buffer);

// Writes a generated file in large blocks: append text to out(), call
// flushSome() now and then.
class FileWriter {
public:
    explicit FileWriter(const std::string& path);
    ~FileWriter();
    std::string& out() { return block_; }
    void flushSome() {
        if (block_.size() >= (4u << 20)) flush();
    }

private:
    void flush();
    std::FILE* file_;
    std::string block_;
};

// A generated OBJ file of at least `wantedBytes` and `wantedLines`, as
// modellers export meshes: positions, texture coordinates, normals, faces with
// all three indices, a comment, a group and a smoothing group now and then.
// `variant` changes the numbers but not the lines' kinds or lengths, so two
// files of the same line count have the same vertex count and size. Answers
// the number of lines.
std::uint64_t GenerateObj(const std::string& path, std::uint64_t wantedBytes, std::uint64_t wantedLines,
                          unsigned variant);

void PrintRate(const char* what, std::uint64_t bytes, double seconds);

}  // namespace bench
