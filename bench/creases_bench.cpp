// GetCreases on a generated grid mesh of 2000 x 2000 quads (or N x N with N
// the first argument) in blocks of 63 x 63 quads, each block a group, and a
// matching scene laid out as Maya lays it out, beside a plain memchr line
// count of the same two files and, where their programs are at hand, beside
// two well-known OBJ loaders reading the same mesh. Then a mesh whose every
// edge is a crease edge, for the memory a crease edge costs.
//
// Every contender runs once a round, in turn, so that a slower stretch of a
// busy machine hits them all; each figure is the median over the rounds
// (BENCH_ROUNDS, default 3), each ratio the median of the rounds' ratios.
// On some machines (virtual ones that hand freed memory back to their host)
// a run slows the run after it when it allocates, frees or writes and syncs
// hundreds of megabytes: the order is the line count, GetCreases, the
// loaders, the synced copy. Pairwise timings of whole runs hold better there.
// The loaders are looked for in $PELLANDO_ANCHORS, else in ../shared/anchors
// beside the project's folder; without them their rows are left out.
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

// The OBJ as Maya exports it: positions, texture coordinates and normals,
// then per group its group and smoothing lines and its faces with texture
// and normal indices.
void GenerateObj(const std::string& path, const std::string& materialPath, const Grid& grid) {
    {
        // Loaders that read materials want the library the mesh names.
        bench::FileWriter material(materialPath);
        material.out() += "newmtl blinn1SG\nillum 4\nKd 0.50 0.50 0.50\nKa 0.00 0.00 0.00\nNi 1.00\n";
    }
    bench::FileWriter file(path);
    std::string& out = file.out();
    out += "# generated grid mesh\nmtllib grid.mtl\ng default\n";
    char line[96];
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
    for (int y = 0; y <= grid.n; ++y) {
        for (int x = 0; x <= grid.n; ++x)
            out.append(line, static_cast<std::size_t>(std::snprintf(line, sizeof line, "vt %.6f %.6f\n",
                                                                     double(x) / grid.n, double(y) / grid.n)));
        file.flushSome();
    }
    for (int y = 0; y <= grid.n; ++y) {
        for (int x = 0; x <= grid.n; ++x) {
            unsigned tilt = static_cast<unsigned>(x * 7 + y * 13) % 1000;
            out.append(line, static_cast<std::size_t>(std::snprintf(line, sizeof line, "vn 0.%03u -0.%03u 0.999%03u\n",
                                                                     tilt, 999 - tilt, tilt)));
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

// The loaders' programs, where they are at hand.
struct Loader {
    const char* name;
    std::string program;
};

std::vector<Loader> FindLoaders() {
    const char* folder = std::getenv("PELLANDO_ANCHORS");
    const std::string anchors = folder && *folder ? folder : PELLANDO_SOURCE_DIR "/../shared/anchors";
    std::vector<Loader> found;
    for (Loader loader : {Loader{"fast_obj", "fastobj_drv"}, Loader{"rapidobj", "rapidobj_drv"}}) {
        loader.program = anchors + "/" + loader.program;
        if (access(loader.program.c_str(), X_OK) == 0) found.push_back(loader);
    }
    return found;
}

struct Row {
    std::vector<double> seconds;
    std::vector<double> peaksMiB;
    double peakMiB = 0;
    void add(const bench::ChildRun& run) {
        seconds.push_back(run.seconds);
        peaksMiB.push_back(run.peakMiB);
        peakMiB = std::max(peakMiB, run.peakMiB);
    }
    double median() const { return bench::Median(seconds); }
};

// The median over the rounds of a / b.
double MedianRatio(const Row& a, const Row& b) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < a.seconds.size() && i < b.seconds.size(); ++i) ratios.push_back(a.seconds[i] / b.seconds[i]);
    return bench::Median(ratios);
}

void PrintRow(const char* what, std::uint64_t bytes, const Row& row) {
    std::printf("  %-34s %8.3f s %9.1f MB/s %8.1f MiB\n", what, row.median(), bytes / 1e6 / row.median(), row.peakMiB);
}

}  // namespace

int main(int argc, char** argv) {
    const Grid grid{argc > 1 ? std::atoi(argv[1]) : 2000};
    const char* roundsText = std::getenv("BENCH_ROUNDS");
    const int rounds = std::max(1, roundsText ? std::atoi(roundsText) : 3);
    const std::vector<Loader> loaders = FindLoaders();
    bench::TempFolder folder;
    const std::string obj = folder.path("grid.obj"), scene = folder.path("grid.ma");
    GenerateObj(obj, folder.path("grid.mtl"), grid);
    GenerateScene(scene, grid);
    // On the disk before anything is measured: writing them back later
    // would fall into the runs that sync what they write.
    sync();
    const std::uint64_t objBytes = bench::FileSize(obj);
    const std::uint64_t sceneBytes = bench::FileSize(scene);
    const std::uint64_t bytes = objBytes + sceneBytes;
    const int groups = ((grid.n + kBlock - 1) / kBlock) * ((grid.n + kBlock - 1) / kBlock) + 1;
    std::printf("GetCreases on %d x %d quads in %d groups: OBJ %.1f MB, scene %.1f MB; %d rounds, medians\n",
                grid.n, grid.n, groups, objBytes / 1e6, sceneBytes / 1e6, rounds);
    std::printf("  %-34s %10s %14s %12s\n", "", "time", "its files", "peak memory");

    std::uint64_t lines = bench::CountLines(obj) + bench::CountLines(scene);  // warms the page cache
    Row count, copy, creases;
    std::vector<Row> loaded(loaders.size());
    bool same = true;
    for (int round = 0; round < rounds; ++round) {
        count.add(bench::RunInChild([&] { return float(bench::CountLines(obj) + bench::CountLines(scene)); }));
        bench::ChildRun run = bench::RunInChild([&] { return bench::CallExport("GetCreases", obj, 0, scene); });
        if (run.result != groups) same = false;
        creases.add(run);
        for (std::size_t i = 0; i < loaders.size(); ++i) {
            bench::ChildRun run = bench::RunProgram({loaders[i].program, obj});
            if (run.result != 0) std::printf("  %s failed: exit status %g\n", loaders[i].name, double(run.result));
            loaded[i].add(run);
        }
        // What the safe rewrite of the scene costs by itself: a copy synced
        // to disk. Last, and removed at once: writing and freeing that much
        // slows whatever writes next on some machines.
        copy.add(bench::RunInChild([&] {
            bench::CopyFile(scene, folder.path("copy.ma"), true);
            return 0.0f;
        }));
        std::remove(folder.path("copy.ma").c_str());
    }

    PrintRow("memchr line count, both files", bytes, count);
    for (std::size_t i = 0; i < loaders.size(); ++i)
        PrintRow((std::string(loaders[i].name) + " loading the OBJ").c_str(), objBytes, loaded[i]);
    PrintRow("scene copied and synced", sceneBytes, copy);
    PrintRow("GetCreases (scene synced)", bytes, creases);
    std::printf("  %llu lines; result %s (expected %d)\n", static_cast<unsigned long long>(lines),
                same ? "as expected" : "WRONG", groups);
    std::printf("  GetCreases / line count: %.2f\n", MedianRatio(creases, count));
    for (std::size_t i = 0; i < loaders.size(); ++i)
        std::printf("  GetCreases / %s: %.2f\n", loaders[i].name, MedianRatio(creases, loaded[i]));

    // The command-line program's creases on the same files: the report, and
    // the preview picture, which reads the mesh again for its positions.
    const std::string svg = folder.path("grid.svg");
    bench::ChildRun report = bench::RunInChild([&] { return Creases({obj, scene}); });
    bench::ChildRun preview = bench::RunInChild([&] { return Creases({obj, scene, "--preview", svg}); });
    const double transfer = creases.median();
    bench::PrintRate("pellando creases, with its report", bytes, report.seconds);
    bench::PrintRate("pellando creases --preview", bytes, preview.seconds);
    std::printf("  exit status %g and %g; the preview adds %.2f s to GetCreases (%.2f x its time); peak memory %.1f MiB "
                "(report alone %.1f MiB); picture %.1f MB\n",
                static_cast<double>(report.result), static_cast<double>(preview.result), preview.seconds - transfer,
                preview.seconds / transfer, preview.peakMiB, report.peakMiB, bench::FileSize(svg) / 1e6);
    same = same && report.result == 0 && preview.result == 0;

    const int quads = 1000000;
    const std::string quadsObj = folder.path("quads.obj"), quadsScene = folder.path("quads.ma");
    GenerateSeparateQuads(quadsObj, quadsScene, quads);
    sync();
    const std::uint64_t quadsBytes = bench::FileSize(quadsObj) + bench::FileSize(quadsScene);
    const long long creaseEdges = 4ll * quads;
    std::printf("GetCreases on %d separate quads in 1000 groups: every edge a crease edge, %lld of them\n", quads,
                creaseEdges);
    bench::CountLines(quadsObj);  // warms the page cache
    bench::CountLines(quadsScene);
    Row quadsCount, quadsCreases;
    bool quadsSame = true;
    for (int round = 0; round < rounds; ++round) {
        quadsCount.add(bench::RunInChild([&] { return float(bench::CountLines(quadsObj) + bench::CountLines(quadsScene)); }));
        bench::ChildRun run = bench::RunInChild([&] { return bench::CallExport("GetCreases", quadsObj, 0, quadsScene); });
        if (run.result != 1000) quadsSame = false;
        quadsCreases.add(run);
    }
    PrintRow("memchr line count, both files", quadsBytes, quadsCount);
    PrintRow("GetCreases (scene synced)", quadsBytes, quadsCreases);
    // The first run writes the statement into an empty one; the others
    // replace the statement the run before wrote, a line of every edge
    // number that is read whole.
    double again = 0;
    for (std::size_t i = 1; i < quadsCreases.peaksMiB.size(); ++i) again = std::max(again, quadsCreases.peaksMiB[i]);
    std::printf("  result %s; GetCreases / line count: %.2f\n", quadsSame ? "as expected" : "WRONG",
                MedianRatio(quadsCreases, quadsCount));
    std::printf("  peak memory a crease edge: %.1f bytes", quadsCreases.peaksMiB[0] * 1048576.0 / creaseEdges);
    if (rounds > 1) std::printf(" (%.1f when the scene holds the statement of a run before)", again * 1048576.0 / creaseEdges);
    std::printf("\n");
    return same && quadsSame ? 0 : 1;
}
