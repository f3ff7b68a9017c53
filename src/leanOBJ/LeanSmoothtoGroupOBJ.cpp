#include "leanOBJ.h"

#include <string_view>

#include "RewriteCounts.h"
#include "pellando.h"
#include "textio/FileReplacer.h"
#include "textio/TextReader.h"

namespace {

constexpr std::string_view kHeader = "# Exported from Pellando plugin test version";

// Bytes of an "s" line's text kept after the "s"; the rest is cut.
constexpr std::size_t kSmoothTextLimit = 256;

void rewriteLine(std::string_view line, textio::FileReplacer& out, rewrites::SmoothCounts& counts) {
    if (!line.empty()) {
        switch (line[0]) {
        case 'v':
            // Only vertex positions stay; texture, normal and parameter
            // vertices are dropped along with any "v" not followed by a blank.
            if (line.size() < 2 || line[1] != ' ') {
                ++counts.linesDropped;
                return;
            }
            ++counts.linesKept;
            break;
        case 'g':
            out.write("#", 1);
            line.remove_prefix(1);
            ++counts.groupsCommented;
            break;
        case 's':
            out.write("g ", 2);
            line = line.substr(1, kSmoothTextLimit);
            ++counts.groupsMade;
            break;
        default:
            ++counts.linesKept;
            break;
        }
    } else {
        ++counts.linesKept;
    }
    out.line(line);
}

}  // namespace

float LeanSmoothtoGroupOBJ(const char* inputPath, const char* outputPath) {
    return rewrites::SmoothToGroups(inputPath, outputPath, nullptr);
}

float rewrites::SmoothToGroups(const char* inputPath, const char* outputPath, SmoothCounts* counts) {
    SmoothCounts uncounted;
    SmoothCounts& seen = counts ? *counts : uncounted;
    textio::TextReader input;
    if (!input.open(inputPath)) return PELLANDO_FAILED;
    textio::FileReplacer output;
    output.open(outputPath);
    output.line(kHeader);
    std::string_view line;
    while (output.good() && input.next(line)) rewriteLine(line, output, seen);
    if (input.failed()) return PELLANDO_FAILED;
    input.close();
    if (!output.commit()) return PELLANDO_CANNOT_WRITE;
    return PELLANDO_OK;
}
