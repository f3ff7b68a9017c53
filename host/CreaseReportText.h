// The report of `pellando creases`, in words (plain lines or one JSON
// object), and its warnings.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "leanOBJ/CreaseReport.h"

namespace cli {

// One run of `pellando creases`: what was asked and what came of it.
struct CreaseRun {
    std::string meshPath, scenePath, previewPath;
    bool smoothingGroups = false, dryRun = false, strict = false;
    creases::CreaseReport report;
    float result = 0;                   // what GetCreases answers for the same files
    std::vector<std::string> warnings;
    bool refused = false;               // --strict and a warning: nothing written
    bool previewWritten = false;
};

// What a user should know about a transfer that was found: crease edges
// that the scene's edge list lacks, and vertex counts that differ.
std::vector<std::string> CreaseWarnings(const creases::CreaseReport& report);

// The result in words ("scene written; number of groups", ...).
std::string CreaseResultMeaning(const CreaseRun& run);

void PrintCreaseReport(std::FILE* to, const CreaseRun& run);
void PrintCreaseJson(std::FILE* to, const CreaseRun& run);

}  // namespace cli
