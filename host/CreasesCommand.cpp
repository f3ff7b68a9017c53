// pellando creases: the crease transfer of GetCreases, with a report, a dry
// run, --strict and a preview picture.
#include <cstdio>

#include "Commands.h"
#include "CreaseReportText.h"
#include "PreviewMesh.h"
#include "SvgPreview.h"
#include "Text.h"
#include "main/ExportGuard.h"

namespace cli {

namespace {

// Mesh edges drawn at most: enough to show a mesh's shape and density,
// few enough to keep the picture of millions of faces small.
constexpr std::size_t kPreviewMeshEdges = 60000;


std::vector<LegendLine> Legend(const CreaseRun& run, const PreviewMesh& mesh) {
    const creases::CreaseReport& r = run.report;
    std::string title = std::string(BaseName(run.meshPath)) + " into " + std::string(BaseName(run.scenePath));
    if (!r.meshNode.empty()) title += ", mesh node " + r.meshNode;
    if (run.dryRun) title += " (dry run: the scene was left untouched)";
    std::string grouping = std::to_string(r.groupCount) + (run.smoothingGroups ? " smoothing groups" : " groups") +
                           "; " + std::to_string(mesh.vertices()) + " vertices, " + std::to_string(mesh.faces) +
                           " faces";
    std::string meshEdges = mesh.sampled ? "mesh edges: those of an even sample of its faces (" +
                                               std::to_string(mesh.edges.size()) + ")"
                                         : "mesh edges: all " + std::to_string(mesh.edges.size());
    const std::size_t dropped = r.creaseEdges - r.written;
    return {
        {LegendLine::Key::None, title},
        {LegendLine::Key::None, grouping},
        {LegendLine::Key::Written, Plural(r.written, "crease edge", "crease edges") +
                                       (run.dryRun ? " in the scene's edge list (a real run writes them)"
                                                   : " written into the scene")},
        {LegendLine::Key::Dropped, Plural(dropped, "crease edge", "crease edges") +
                                       " not in the scene's edge list (dropped)"},
        {LegendLine::Key::Mesh, meshEdges},
    };
}

bool WritePreview(const CreaseRun& run) {
    PreviewMesh mesh;
    if (!ReadPreviewMesh(run.meshPath.c_str(), kPreviewMeshEdges, static_cast<std::size_t>(run.report.meshVertices), mesh))
        return false;
    return WriteSvgPreview(run.previewPath.c_str(), mesh, run.report.writtenEdges, run.report.droppedEdges,
                           Legend(run, mesh));
}

}  // namespace

int RunCreases(const Arguments& arguments) {
    CreaseRun run;
    run.meshPath = arguments.paths[0];
    run.scenePath = arguments.paths[1];
    run.previewPath = arguments.value("--preview");
    run.smoothingGroups = arguments.has("--smoothing-groups");
    run.dryRun = arguments.has("--dry-run");
    run.strict = arguments.has("--strict");
    if (!run.previewPath.empty() && (run.previewPath == run.meshPath || run.previewPath == run.scenePath)) {
        std::fprintf(stderr, "pellando creases: the preview would replace the mesh or the scene; choose another file\n");
        return 2;
    }
    run.report.dryRun = run.dryRun;
    run.report.keepEdges = !run.previewPath.empty();
    // Asked between reading the scene and replacing it.
    run.report.proceed = [&run](const creases::CreaseReport& report) {
        return !(run.strict && !CreaseWarnings(report).empty());
    };
    run.result = Guarded([&run] {
        return creases::TransferCreases(run.meshPath.c_str(), run.scenePath.c_str(), run.smoothingGroups ? 's' : 'g',
                                        &run.report);
    });
    run.warnings = CreaseWarnings(run.report);
    run.refused = run.strict && !run.warnings.empty();

    bool previewFailed = false;
    if (!run.previewPath.empty() && run.report.sceneRead && !run.refused) {
        run.previewWritten = Guarded([&run] { return WritePreview(run) ? 0.0f : -1.0f; }) == 0;
        previewFailed = !run.previewWritten;
    }

    if (arguments.has("--json")) PrintCreaseJson(stdout, run);
    else PrintCreaseReport(stdout, run);
    std::fflush(stdout);
    for (const std::string& warning : run.warnings) std::fprintf(stderr, "pellando: warning: %s\n", warning.c_str());
    if (run.refused)
        std::fprintf(stderr, "pellando: --strict: nothing was written, because of the warning%s above\n",
                     run.warnings.size() == 1 ? "" : "s");
    if (previewFailed)
        std::fprintf(stderr, "pellando: the preview %s cannot be written\n", ValidText(run.previewPath).c_str());
    return run.result < 0 || run.refused || previewFailed ? 1 : 0;
}

}  // namespace cli
