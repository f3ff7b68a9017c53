// SmoothtoGroupOBJ on a generated OBJ file of 600 MB (or the size in MB given
// as the first argument), beside a plain copy of the same file.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Harness.h"

namespace {

// A mesh as modellers export it: positions, texture coordinates, normals,
// faces with all three indices, and a group with a smoothing group now and then.
void GenerateObj(const std::string& path, std::uint64_t wanted) {
    bench::FileWriter file(path);
    std::string& out = file.out();
    char line[160];
    std::uint64_t written = 0;
    for (unsigned n = 1; written < wanted; ++n) {
        int size;
        switch (n % 12) {
        case 0: case 1: case 2:
            size = std::snprintf(line, sizeof line, "v %d.%06d %d.%06d -%d.%06d\n", n % 97, n % 999983, n % 13,
                                 n % 77777, n % 7, n % 31337);
            break;
        case 3: case 4:
            size = std::snprintf(line, sizeof line, "vt 0.%06d 0.%06d\n", n % 999983, n % 65521);
            break;
        case 5: case 6:
            size = std::snprintf(line, sizeof line, "vn 0.%04d -0.%04d 0.%04d\n", n % 9973, n % 7919, n % 5003);
            break;
        case 7:
            if (n % 6000 == 7) {
                size = std::snprintf(line, sizeof line, "g part%u\ns %u\n", n / 6000, n % 5 + 1);
                break;
            }
            [[fallthrough]];
        default:
            size = std::snprintf(line, sizeof line, "f %u/%u/%u %u/%u/%u %u/%u/%u %u/%u/%u\n", n, n, n, n + 1, n + 1,
                                 n + 1, n + 2, n + 2, n + 2, n + 3, n + 3, n + 3);
            break;
        }
        out.append(line, static_cast<std::size_t>(size));
        written += static_cast<std::uint64_t>(size);
        file.flushSome();
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t wanted = (argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 600) * 1000000ull;
    bench::TempFolder folder;
    const std::string mesh = folder.path("mesh.obj");
    GenerateObj(mesh, wanted);
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
