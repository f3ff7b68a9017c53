// SmoothtoGroupOBJ on a generated OBJ file of 600 MB (or the size in MB given
// as the first argument), beside a plain copy of the same file.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Harness.h"

int main(int argc, char** argv) {
    const std::uint64_t wanted = (argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 600) * 1000000ull;
    bench::TempFolder folder;
    const std::string mesh = folder.path("mesh.obj");
    bench::GenerateObj(mesh, wanted, 0, 0);
    const std::uint64_t size = bench::FileSize(mesh);
    std::printf("SmoothtoGroupOBJ on %.1f MB (%llu lines)\n", size / 1e6,
                static_cast<unsigned long long>(bench::CountLines(mesh)));

    // Warm the page cache the same way for every contender.
    bench::CountLines(mesh);
    double copy = bench::Time([&] { bench::CopyFile(mesh, folder.path("copy.obj"), false); });
    double copySynced = bench::Time([&] { bench::CopyFile(mesh, folder.path("copy-synced.obj"), true); });
    bench::ChildRun run = bench::RunInChild(
        [&] { return bench::CallExport("SmoothtoGroupOBJ", mesh, 0, folder.path("out.obj")); });
    bench::ChildRun inPlace = bench::RunInChild(
        [&] { return bench::CallExport("SmoothtoGroupOBJ", folder.path("copy.obj"), 0, folder.path("copy.obj")); });

    bench::PrintRate("plain copy (1 MiB chunks)", size, copy);
    bench::PrintRate("plain copy, synced to disk", size, copySynced);
    bench::PrintRate("SmoothtoGroupOBJ (synced)", size, run.seconds);
    bench::PrintRate("SmoothtoGroupOBJ in place (synced)", size, inPlace.seconds);
    std::printf("  result %g / %g; throughput vs copy: %.2f (synced copy: %.2f); peak memory %.1f MiB\n",
                static_cast<double>(run.result), static_cast<double>(inPlace.result), copy / run.seconds,
                copySynced / run.seconds, run.peakMiB > inPlace.peakMiB ? run.peakMiB : inPlace.peakMiB);
    return run.result == 0 && inPlace.result == 0 ? 0 : 1;
}
