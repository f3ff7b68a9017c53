// The subcommands beside the crease transfer: the two OBJ rewrites, the
// folder services and the version, each through the library's own code.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"
#include "ProjectVersion.h"
#include "Text.h"
#include "leanOBJ/RewriteCounts.h"
#include "main/ExportGuard.h"
#include "pellando.h"

namespace cli {

namespace {

void Line(const char* key, const std::string& text) { std::printf("%-10s %s\n", key, text.c_str()); }


// A failure: its result code and what it means, on standard error.
int Failure(float result, const std::string& words) {
    std::fflush(stdout);
    std::fprintf(stderr, "%g: %s\n", static_cast<double>(result), words.c_str());
    return 1;
}

// The entries of a folder as the listing exports give them; false when it
// cannot be opened.
bool ListFolder(const std::string& folder, std::vector<std::string>& names) {
    if (OpenFolder(folder.c_str(), 0, nullptr) != PELLANDO_OK) return false;
    std::vector<char> name(4096, '\0');  // more than the longest entry name
    while (GetFile(nullptr, 0, name.data()) == PELLANDO_OK) names.emplace_back(name.data());
    CloseFolder(nullptr, 0, nullptr);
    return true;
}

}  // namespace

int RunSmoothToGroups(const Arguments& arguments) {
    const std::string& input = arguments.paths[0];
    const std::string& output = arguments.paths.size() > 1 ? arguments.paths[1] : input;
    rewrites::SmoothCounts counts;
    float result = Guarded([&] { return rewrites::SmoothToGroups(input.c_str(), output.c_str(), &counts); });
    if (result == PELLANDO_FAILED)
        return Failure(result, ValidText(input) + " cannot be opened or read; nothing was written");
    if (result != PELLANDO_OK) return Failure(result, ValidText(output) + " cannot be written; it was left as it was");
    Line("written", ValidText(output) + (&output == &input ? " (in place)" : " (from " + ValidText(input) + ")"));
    Line("groups", Plural(counts.groupsMade, "smoothing group line", "smoothing group lines") + " (\"s\") became " +
                       (counts.groupsMade == 1 ? "a group line" : "group lines") + " (\"g\")");
    Line("comments", Plural(counts.groupsCommented, "old group line", "old group lines") + " became comments");
    Line("dropped", Plural(counts.linesDropped, "line", "lines") +
                        " of texture coordinates, normals or other \"v\" lines that are no vertex position");
    Line("kept", Plural(counts.linesKept, "line", "lines") + " copied unchanged");
    return 0;
}

int RunSwapVertices(const Arguments& arguments) {
    const std::string source = ValidText(arguments.paths[0]), target = ValidText(arguments.paths[1]);
    rewrites::SwapCounts counts;
    bool swapped = Guarded([&] {
        return rewrites::SwapVertexLines(arguments.paths[0].c_str(), arguments.paths[1].c_str(), &counts) ? 0.0f : -1.0f;
    }) == 0;
    if (!swapped) {
        std::string why;
        if (counts.sourceVertices == 0)
            why = source + " cannot be opened or read, or holds no vertex line";
        else if (counts.targetVertices > counts.sourceVertices)
            why = target + " has more vertex lines than the " + std::to_string(counts.sourceVertices) + " of " + source;
        else if (counts.targetVertices + counts.linesKept + counts.commentsDropped == 0)
            why = target + " cannot be opened or read, or is empty";
        else if (counts.targetVertices < counts.sourceVertices)
            why = target + " has " + Plural(counts.targetVertices, "vertex line", "vertex lines") + ", " + source +
                  " " + std::to_string(counts.sourceVertices);
        else if (counts.linesKept == 0)
            why = target + " holds nothing but vertex lines and comments";
        else
            why = target + " cannot be read or written";
        return Failure(PELLANDO_FAILED, "nothing was changed: " + why);
    }
    Line("written", target);
    Line("vertices", Plural(counts.sourceVertices, "vertex position", "vertex positions") + " of " + source +
                         " in place of " + target + "'s");
    Line("kept", Plural(counts.linesKept, "other line", "other lines") + " of " + target);
    Line("dropped", Plural(counts.commentsDropped, "comment line", "comment lines"));
    return 0;
}

int RunList(const Arguments& arguments) {
    std::vector<std::string> names;
    if (Guarded([&] { return ListFolder(arguments.paths[0], names) ? 0.0f : -1.0f; }) != 0)
        return Failure(PELLANDO_FAILED, "the folder cannot be opened");
    for (const std::string& name : names) std::printf("%s\n", name.c_str());
    return 0;
}

int RunDelete(const Arguments& arguments) {
    const std::string& file = arguments.paths[0];
    float result = FileDelete(file.c_str(), 0, nullptr);
    if (result != PELLANDO_OK)
        return Failure(result, ValidText(file) + " cannot be deleted (missing, a folder, or not permitted)");
    Line("deleted", ValidText(file));
    return 0;
}

int RunEmpty(const Arguments& arguments) {
    const std::string& folder = arguments.paths[0];
    std::vector<std::string> before, after;
    float result = Guarded([&] {
        if (!ListFolder(folder, before)) return -1.0f;
        float emptied = EmptyFolder(folder.c_str(), 0, nullptr);
        if (emptied == PELLANDO_OK) ListFolder(folder, after);
        return emptied;
    });
    if (result != PELLANDO_OK) return Failure(result, "the folder cannot be opened; nothing was deleted");
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    for (const std::string& name : before) {
        if (name == "." || name == "..") continue;
        Line(std::binary_search(after.begin(), after.end(), name) ? "stays" : "deleted", ValidText(name));
    }
    return 0;
}

// As --version prints it, but for the library code built in.
int RunVersion(const Arguments&) {
    std::printf("pellando %s\n", PELLANDO_PROJECT_VERSION);
    std::printf("library built into this program: Version %g\n", static_cast<double>(Version(nullptr, 0, nullptr)));
    return 0;
}

}  // namespace cli
