#include <cstdint>
#include <string_view>

#include "RewriteCounts.h"
#include "leanOBJ.h"
#include "textio/FileReplacer.h"
#include "textio/TextReader.h"

namespace {

constexpr std::string_view kHeader = "# written by Quillfer plugin for Orvex";

// "v" followed by a blank: a vertex position. A tab is no blank here.
bool isVertex(std::string_view line) { return line.size() >= 2 && line[0] == 'v' && line[1] == ' '; }

}  // namespace

// One pass over each file, straight into the replacement: the header and the
// source's vertex lines first, then the target's kept lines while its vertex
// lines are counted. Only when the counts agree and a kept line was written
// does the replacement take the target's place; otherwise it is dropped and
// the target was never changed. Memory stays at the readers' and the
// writer's buffers, whatever the size of the files.
bool LeanSwapVerts(const char* sourcePath, const char* targetPath) {
    return rewrites::SwapVertexLines(sourcePath, targetPath, nullptr);
}

bool rewrites::SwapVertexLines(const char* sourcePath, const char* targetPath, SwapCounts* counts) {
    SwapCounts uncounted;
    SwapCounts& seen = counts ? *counts : uncounted;
    std::uint64_t& sourceVertices = seen.sourceVertices;
    textio::TextReader source;
    if (!source.open(sourcePath)) return false;
    textio::FileReplacer output;
    std::string_view line;
    while (source.next(line)) {
        if (!isVertex(line)) continue;
        // The target is first touched here: a source without vertex lines
        // leaves it unopened.
        if (sourceVertices++ == 0) {
            if (!output.open(targetPath)) return false;
            output.line(kHeader);
        }
        output.line(line);
        if (!output.good()) return false;
    }
    if (source.failed() || sourceVertices == 0) return false;
    source.close();

    textio::TextReader target;
    if (!target.open(targetPath)) return false;
    std::uint64_t &targetVertices = seen.targetVertices, &kept = seen.linesKept;
    while (output.good() && target.next(line)) {
        if (isVertex(line)) {
            // Too many already: the rest cannot make the counts agree.
            if (++targetVertices > sourceVertices) return false;
        } else if (line.empty() || line[0] != '#') {
            output.line(line);
            ++kept;
        } else {
            ++seen.commentsDropped;
        }
    }
    if (target.failed() || !output.good()) return false;
    if (targetVertices != sourceVertices || kept == 0) return false;
    // Windows cannot replace a file that is still open.
    target.close();
    return output.commit();
}
