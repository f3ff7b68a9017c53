#include "CreaseReportText.h"

#include "Text.h"
#include "pellando.h"

namespace cli {

namespace {

using Placement = creases::CreaseReport::Placement;


std::string Quoted(const std::string& text) { return "\"" + ValidText(text) + "\""; }

// "the scene's mesh "pCubeShape1"", or "the scene" when no node is named.
std::string SceneMesh(const creases::CreaseReport& report) {
    return report.meshNode.empty() ? std::string("the scene") : "the scene's mesh " + Quoted(report.meshNode);
}

std::size_t Dropped(const creases::CreaseReport& report) { return report.creaseEdges - report.written; }

// The transfer stopped at the mesh: it cannot be read, or has too many groups.
bool MeshFailed(const CreaseRun& run) {
    return run.result == PELLANDO_TOO_MANY_GROUPS || (run.result == PELLANDO_FAILED && run.report.creaseEdges == 0);
}

bool SceneChanged(const CreaseRun& run) { return run.result > 0 && !run.dryRun && !run.refused; }

std::string Statement(const CreaseRun& run) {
    const creases::CreaseReport& r = run.report;
    const bool done = SceneChanged(run);
    std::string text;
    if (r.placement == Placement::Replaced) {
        text = done ? "replaced " : "would replace ";
        text += r.firstLine == r.lastLine ? "line " + std::to_string(r.firstLine)
                                          : "lines " + std::to_string(r.firstLine) + "-" + std::to_string(r.lastLine);
        if (r.oldEdges >= 0) text += " (the old statement listed " + Plural(r.oldEdges, "edge", "edges") + ")";
    } else if (r.placement == Placement::Inserted) {
        text = std::string(done ? "inserted" : "would be inserted") + " after line " + std::to_string(r.firstLine) +
               ", the end of the edge list (the scene had no crease statement)";
    } else {
        return "none: the scene has no edge list and no crease statement";
    }
    if (run.dryRun) text += "; dry run: the scene was left untouched";
    else if (run.refused) text += "; nothing written (--strict)";
    return text;
}

void Line(std::FILE* to, const char* key, const std::string& text) { std::fprintf(to, "%-10s %s\n", key, text.c_str()); }

// JSON values.
std::string Json(const std::string& text) { return JsonString(text); }
std::string Json(std::uint64_t n) { return std::to_string(n); }
std::string JsonBool(bool b) { return b ? "true" : "false"; }
const char kNull[] = "null";

}  // namespace

std::vector<std::string> CreaseWarnings(const creases::CreaseReport& report) {
    std::vector<std::string> warnings;
    if (!report.sceneRead) return warnings;
    if (Dropped(report) > 0) {
        std::string count = report.written == 0
                                ? "none of the " + Plural(report.creaseEdges, "crease edge is", "crease edges is")
                                : std::to_string(Dropped(report)) + " of the " +
                                      Plural(report.creaseEdges, "crease edge", "crease edges") +
                                      (Dropped(report) == 1 ? " is" : " are");
        warnings.push_back(count + " not in the edge list of " + SceneMesh(report) +
                           ", and cannot become creases there: the mesh and the scene may not belong together, "
                           "or one of them was triangulated or edited since the other was saved");
    }
    if (report.sceneVertices >= 0 && report.sceneVertices != report.meshVertices) {
        warnings.push_back("the mesh has " + Plural(report.meshVertices, "vertex", "vertices") + " but " +
                           SceneMesh(report) + " has " + Plural(report.sceneVertices, "vertex", "vertices") +
                           ": they may be different meshes, or one of them was edited");
    }
    return warnings;
}

std::string CreaseResultMeaning(const CreaseRun& run) {
    const std::string groupLines = run.smoothingGroups ? "smoothing group lines (\"s\")" : "group lines (\"g\")";
    if (run.result > 0) {
        if (run.dryRun) return "number of groups; the scene was left untouched (dry run)";
        if (run.refused) return "number of groups; nothing written (--strict)";
        return "scene written; number of groups";
    }
    switch (static_cast<int>(run.result)) {
    case PELLANDO_FAILED:
        return MeshFailed(run) ? "the mesh cannot be opened or read" : "the scene cannot be opened or read";
    case PELLANDO_CANNOT_WRITE: return "the scene cannot be written; it was left as it was";
    case PELLANDO_NO_CREASE_EDGES:
        return "the mesh has no crease edges: no " + groupLines +
               ", or only closed groups; the scene was not touched (" +
               (run.smoothingGroups ? "try without --smoothing-groups)" : "try --smoothing-groups)");
    case PELLANDO_NO_EDGE_LIST: return "the scene has no edge list and no crease statement; it was left as it was";
    case PELLANDO_TOO_MANY_GROUPS: return "the mesh has more than 8191 groups; the scene was not touched";
    default: return "unknown result";
    }
}

void PrintCreaseReport(std::FILE* to, const CreaseRun& run) {
    const creases::CreaseReport& r = run.report;
    const std::string grouping = run.smoothingGroups ? "smoothing group" : "group";
    if (!MeshFailed(run)) {
        Line(to, "mesh", ValidText(run.meshPath) + ": " + Plural(r.meshVertices, "vertex", "vertices") + ", " +
                             Plural(r.groupCount, grouping.c_str(), (grouping + "s").c_str()) + ", " +
                             Plural(r.creaseEdges, "crease edge", "crease edges"));
    }
    if (r.sceneRead) {
        std::string scene = ValidText(run.scenePath) + ": ";
        scene += r.meshNode.empty() ? std::string("an edge list outside any mesh node")
                                    : "mesh node " + Quoted(r.meshNode);
        scene += r.sceneVertices >= 0 ? ", " + Plural(r.sceneVertices, "vertex", "vertices")
                                      : std::string(", vertex count not stated");
        scene += ", " + Plural(r.sceneEdges, "edge", "edges");
        Line(to, "scene", scene);
        Line(to, "creases", std::to_string(r.written) + " written, " + std::to_string(Dropped(r)) +
                                " dropped (not in the scene's edge list)");
        Line(to, "statement", Statement(run));
    }
    char result[32];
    std::snprintf(result, sizeof result, "%g", static_cast<double>(run.result));
    Line(to, "result", std::string(result) + ": " + CreaseResultMeaning(run));
    if (run.previewWritten) Line(to, "preview", ValidText(run.previewPath));
}

void PrintCreaseJson(std::FILE* to, const CreaseRun& run) {
    const creases::CreaseReport& r = run.report;
    const bool meshRead = !MeshFailed(run), scene = r.sceneRead;
    std::vector<std::pair<const char*, std::string>> fields = {
        {"mesh", Json(run.meshPath)},
        {"scene", Json(run.scenePath)},
        {"grouping", Json(std::string(run.smoothingGroups ? "smoothing groups" : "groups"))},
        {"groups", meshRead ? Json(static_cast<std::uint64_t>(r.groupCount)) : kNull},
        {"mesh_vertices", meshRead ? Json(static_cast<std::uint64_t>(r.meshVertices)) : kNull},
        {"crease_edges", meshRead ? Json(static_cast<std::uint64_t>(r.creaseEdges)) : kNull},
        {"scene_read", JsonBool(scene)},
        {"scene_mesh_node", scene && !r.meshNode.empty() ? Json(r.meshNode) : kNull},
        {"scene_vertices", scene && r.sceneVertices >= 0 ? Json(static_cast<std::uint64_t>(r.sceneVertices)) : kNull},
        {"scene_edges", scene ? Json(static_cast<std::uint64_t>(r.sceneEdges)) : kNull},
        {"written", scene ? Json(static_cast<std::uint64_t>(r.written)) : kNull},
        {"dropped", scene ? Json(static_cast<std::uint64_t>(Dropped(r))) : kNull},
        {"statement", !scene || r.placement == Placement::None ? kNull
                      : r.placement == Placement::Replaced    ? Json(std::string("replaced"))
                                                              : Json(std::string("inserted"))},
        {"first_line", scene && r.placement != Placement::None ? Json(r.firstLine) : kNull},
        {"last_line", scene && r.placement != Placement::None ? Json(r.lastLine) : kNull},
        {"old_edges", scene && r.oldEdges >= 0 ? Json(static_cast<std::uint64_t>(r.oldEdges)) : kNull},
        {"dry_run", JsonBool(run.dryRun)},
        {"strict", JsonBool(run.strict)},
        {"scene_changed", JsonBool(SceneChanged(run))},
        {"result", std::to_string(static_cast<long long>(run.result))},
        {"meaning", Json(CreaseResultMeaning(run))},
        {"preview", run.previewWritten ? Json(run.previewPath) : kNull},
    };
    std::string warnings = "[";
    for (std::size_t i = 0; i < run.warnings.size(); ++i) warnings += (i ? ", " : "") + Json(run.warnings[i]);
    fields.emplace_back("warnings", warnings + "]");
    std::fprintf(to, "{\n");
    for (std::size_t i = 0; i < fields.size(); ++i)
        std::fprintf(to, "  \"%s\": %s%s\n", fields[i].first, fields[i].second.c_str(), i + 1 < fields.size() ? "," : "");
    std::fprintf(to, "}\n");
}

}  // namespace cli
