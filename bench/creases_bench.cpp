// GetCreases on a generated grid mesh of 2000 x 2000 quads (or N x N with N
// the first argument) in blocks of 63 x 63 quads, each block a group, and a
// matching scene laid out as Maya lays it out, beside a plain memchr line
// count of the same two files.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "Harness.h"
#include "MayaScene.h"
#include "Subcommands.h"

namespace {

constexpr int kBlock = 63;

struct Grid {
    int n;  // quads per side
    int vertex(int x, int y) const { return y * (n + 1) + x; }
    int vertices() const { return (n + 1) * (n + 1); }
};

void AppendInt(std::string& out, long long value) {
    char text[24];
    out.append(text, static_cast<std::size_t>(std::snprintf(text, sizeof text, "%lld", value)));
}

// The OBJ as Maya exports it: positions, then per group its group and
// smoothing lines and its faces with texture and normal indices.
void GenerateObj(const std::string& path, const Grid& grid) {
    bench::FileWriter file(path);
    std::string& out = file.out();
    out += "# generated grid mesh\nmtllib grid.mtl\ng default\n";
    for (int y = 0; y <= grid.n; ++y) {
        for (int x = 0; x <= grid.n; ++x) {
            out += "v ";
            AppendInt(out, x);
            out += ".25 ";
            AppendInt(out, y);
            out += ".5 0.125\n";
        }
        file.flushSome();
    }
    for (int by = 0; by < grid.n; by += kBlock) {
        for (int bx = 0; bx < grid.n; bx += kBlock) {
            out += "s 1\ng block";
            AppendInt(out, bx / kBlock);
            out += "_";
            AppendInt(out, by / kBlock);
            out += "\nusemtl blinn1SG\n";
            for (int y = by; y < by + kBlock && y < grid.n; ++y) {
                for (int x = bx; x < bx + kBlock && x < grid.n; ++x) {
                    int corners[4] = {grid.vertex(x, y), grid.vertex(x + 1, y), grid.vertex(x + 1, y + 1),
                                      grid.vertex(x, y + 1)};
                    out += "f";
                    for (int corner : corners) {
                        out += ' ';
                        AppendInt(out, corner + 1);
                        out += '/';
                        AppendInt(out, corner + 1);
                        out += '/';
                        AppendInt(out, corner + 1);
                    }
                    out += '\n';
                }
                file.flushSome();
            }
        }
    }
}

// The scene: positions, the edge list in blocks of 166 (a third of the edges
// with the larger vertex first), the face list, the crease statements.
void GenerateScene(const std::string& path, const Grid& grid) {
    bench::FileWriter file(path);
    std::string& out = file.out();
    maya::AppendSceneStart(out, "grid.ma");
    out += "createNode transform -n \"grid\";\ncreateNode mesh -n \"gridShape\" -p \"grid\";\n";
    out += "\tsetAttr -k off \".v\";\n\tsetAttr \".uvst[0].uvsn\" -type \"string\" \"map1\";\n";
    out += "\tsetAttr -s ";
    AppendInt(out, grid.vertices());
    out += " \".vt\";\n";
    for (int first = 0; first < grid.vertices(); first += 250) {
        int last = std::min(first + 250, grid.vertices()) - 1;
        out += "\tsetAttr \".vt[" + std::to_string(first) + ":" + std::to_string(last) + "]\"";
        for (int v = first; v <= last; ++v) {
            out += (v - first) % 4 == 0 ? "\n\t\t " : " ";
            AppendInt(out, v % (grid.n + 1));
            out += ".25 ";
            AppendInt(out, v / (grid.n + 1));
            out += ".5 0.125";
        }
        out += ";\n";
        file.flushSome();
    }

    std::vector<std::pair<int, int>> edges;
    for (int y = 0; y <= grid.n; ++y)
        for (int x = 0; x <= grid.n; ++x) {
            if (x < grid.n) edges.emplace_back(grid.vertex(x, y), grid.vertex(x + 1, y));
            if (y < grid.n) edges.emplace_back(grid.vertex(x, y + 1), grid.vertex(x, y));
        }
    out += "\tsetAttr -s ";
    AppendInt(out, static_cast<long long>(edges.size()));
    out += " \".ed\";\n";
    for (std::size_t first = 0; first < edges.size(); first += maya::kEdgesPerBlock) {
        std::size_t count = std::min(maya::kEdgesPerBlock, edges.size() - first);
        maya::AppendEdgeBlock(out, first, edges.data() + first, count, false);
        file.flushSome();
    }
    const long long faces = static_cast<long long>(grid.n) * grid.n;
    out += "\tsetAttr -s ";
    AppendInt(out, faces);
    out += " -ch ";
    AppendInt(out, faces * 4);
    out += " \".fc[0:";
    AppendInt(out, faces - 1);
    out += "]\" -type \"polyFaces\" ";
    for (long long f = 0; f < faces; ++f) {
        long long e = 2 * f;
        out += "\n\t\tf 4 ";
        AppendInt(out, e);
        out += ' ';
        AppendInt(out, e + 3);
        out += ' ';
        AppendInt(out, -(e + 2) - 1);
        out += ' ';
        AppendInt(out, -(e + 1) - 1);
        out += "\n\t\tmu 0 4 ";
        AppendInt(out, f);
        out += " 1 2 3";
        if (f % 1024 == 0) file.flushSome();
    }
    out += ";\n";
    out += maya::EmptyCreaseStatement();
    maya::AppendMeshEnd(out);
    maya::AppendSceneEnd(out, "grid.ma");
}

// A mesh where every edge is a crease edge: separate quads, each with four
// vertices of its own, in 1000 groups, and its scene. Memory grows with the
// crease edges here, and the sets they are merged into must stay fast.
void GenerateSeparateQuads(const std::string& objPath, const std::string& scenePath, int quads) {
    {
        bench::FileWriter file(objPath);
        std::string& out = file.out();
        for (int q = 0; q < quads; ++q) {
            if (q % (quads / 1000) == 0) {
                out += "g part";
                AppendInt(out, q / (quads / 1000));
                out += '\n';
            }
            out += "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf -4 -3 -2 -1\n";
            file.flushSome();
        }
    }
    bench::FileWriter file(scenePath);
    std::string& out = file.out();
    maya::AppendSceneStart(out, "quads.ma");
    out += "createNode mesh -n \"quadsShape\";\n\tsetAttr -s ";
    AppendInt(out, 4ll * quads);
    out += " \".ed\";\n";
    std::vector<std::pair<int, int>> block;
    for (long long e = 0; e < 4ll * quads; e += maya::kEdgesPerBlock) {
        block.clear();
        for (long long i = e; i < std::min<long long>(e + maya::kEdgesPerBlock, 4ll * quads); ++i) {
            int quad = static_cast<int>(i / 4), side = static_cast<int>(i % 4);
            block.emplace_back(4 * quad + side, 4 * quad + (side + 1) % 4);
        }
        maya::AppendEdgeBlock(out, static_cast<std::size_t>(e), block.data(), block.size(), false);
        file.flushSome();
    }
    out += maya::EmptyCreaseStatement();
    maya::AppendSceneEnd(out, "quads.ma");
}

// `pellando creases ARGUMENTS` through the program's code linked in, its
// report thrown away; answers the exit status.
float Creases(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "creases");
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    // Not freopen: that would flush the parent's unwritten output twice.
    int nothing = open("/dev/null", O_WRONLY);
    if (nothing < 0 || dup2(nothing, 1) < 0) return -1;
    return static_cast<float>(cli::RunSubcommand(static_cast<int>(argv.size()), argv.data()));
}

}  // namespace

int main(int argc, char** argv) {
    const Grid grid{argc > 1 ? std::atoi(argv[1]) : 2000};
    bench::TempFolder folder;
    const std::string obj = folder.path("grid.obj"), scene = folder.path("grid.ma");
    GenerateObj(obj, grid);
    GenerateScene(scene, grid);
    const std::uint64_t bytes = bench::FileSize(obj) + bench::FileSize(scene);
    const int groups = ((grid.n + kBlock - 1) / kBlock) * ((grid.n + kBlock - 1) / kBlock) + 1;
    std::printf("GetCreases on %d x %d quads in %d groups: OBJ %.1f MB, scene %.1f MB\n", grid.n, grid.n, groups,
                bench::FileSize(obj) / 1e6, bench::FileSize(scene) / 1e6);

    std::uint64_t lines = 0;
    double count = 0;
    for (int round = 0; round < 2; ++round)  // the first round warms the page cache
        count = bench::Time([&] { lines = bench::CountLines(obj) + bench::CountLines(scene); });
    // What the safe rewrite of the scene costs by itself: a copy synced to disk.
    double copy = bench::Time([&] { bench::CopyFile(scene, folder.path("copy.ma"), true); });
    bench::ChildRun run = bench::RunInChild([&] { return bench::CallExport("GetCreases", obj, 0, scene); });
    bench::ChildRun again = bench::RunInChild([&] { return bench::CallExport("GetCreases", obj, 0, scene); });

    bench::PrintRate("memchr line count, both files", bytes, count);
    bench::PrintRate("scene copied and synced", bytes, copy);
    bench::PrintRate("GetCreases (scene synced)", bytes, run.seconds);
    bench::PrintRate("GetCreases again, same files", bytes, again.seconds);
    std::printf("  %llu lines; result %g (expected %d)\n", static_cast<unsigned long long>(lines),
                static_cast<double>(run.result), groups);
    std::printf("  GetCreases / line count: %.2f (first run %.2f); beyond the synced copy: %.2f x the line count\n",
                again.seconds / count, run.seconds / count, (again.seconds - copy) / count);
    std::printf("  peak memory %.1f MiB\n", run.peakMiB > again.peakMiB ? run.peakMiB : again.peakMiB);

    // The command-line program's creases on the same files: the report, and
    // the preview picture, which reads the mesh again for its positions.
    const std::string svg = folder.path("grid.svg");
    bench::ChildRun report = bench::RunInChild([&] { return Creases({obj, scene}); });
    bench::ChildRun preview = bench::RunInChild([&] { return Creases({obj, scene, "--preview", svg}); });
    bench::PrintRate("pellando creases, with its report", bytes, report.seconds);
    bench::PrintRate("pellando creases --preview", bytes, preview.seconds);
    std::printf("  exit status %g and %g; the preview adds %.2f s to GetCreases (%.2f x its time); peak memory %.1f MiB "
                "(report alone %.1f MiB); picture %.1f MB\n",
                static_cast<double>(report.result), static_cast<double>(preview.result), preview.seconds - again.seconds,
                preview.seconds / again.seconds, preview.peakMiB, report.peakMiB, bench::FileSize(svg) / 1e6);

    const int quads = 1000000;
    const std::string quadsObj = folder.path("quads.obj"), quadsScene = folder.path("quads.ma");
    GenerateSeparateQuads(quadsObj, quadsScene, quads);
    const std::uint64_t quadsBytes = bench::FileSize(quadsObj) + bench::FileSize(quadsScene);
    std::printf("GetCreases on %d separate quads in 1000 groups: every edge a crease edge\n", quads);
    bench::CountLines(quadsObj);  // warms the page cache
    std::uint64_t quadsLines = 0;
    double quadsCount = bench::Time([&] { quadsLines = bench::CountLines(quadsObj) + bench::CountLines(quadsScene); });
    bench::ChildRun separate =
        bench::RunInChild([&] { return bench::CallExport("GetCreases", quadsObj, 0, quadsScene); });
    bench::PrintRate("memchr line count, both files", quadsBytes, quadsCount);
    bench::PrintRate("GetCreases (scene synced)", quadsBytes, separate.seconds);
    std::printf("  %llu lines; result %g; %d crease edges; GetCreases / line count: %.2f; peak memory %.1f MiB\n",
                static_cast<unsigned long long>(quadsLines), static_cast<double>(separate.result), 4 * quads,
                separate.seconds / quadsCount, separate.peakMiB);
    return run.result == groups && again.result == groups && separate.result == 1000 && report.result == 0 &&
                   preview.result == 0
               ? 0
               : 1;
}
