// What must hold after GetCreases, whatever the files held.
#pragma once

#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "Reference.h"
#include "pellando.h"

namespace fuzz {

// The lines that a crease statement may be made of: the statement's first
// line (`setAttr ".cd"` after blanks and tabs, or the old marker) and lines
// of numbers only. GetCreases may remove and add such lines, no other.
inline bool MayBeCreaseStatement(const std::string& line) {
    std::size_t start = line.find_first_not_of(" \t");
    if (start != std::string::npos && line.compare(start, 13, "setAttr \".cd\"") == 0) return true;
    if (line.find("  \tsetAttr \".cd\"") != std::string::npos) return true;
    return line.find_first_not_of("0123456789+-.eE \t;\r") == std::string::npos;
}

inline std::vector<std::string> OtherLines(const std::string& bytes) {
    std::vector<std::string> kept;
    for (const std::string& line : ReferenceLines(bytes).value_or(std::vector<std::string>()))
        if (!MayBeCreaseStatement(line)) kept.push_back(line);
    return kept;
}

// After a call with `number` that answered `result` on a scene that held
// `before`.
inline void CheckScene(float result, int groups, const std::string& before, const std::string& scenePath,
                       const std::string& objPath, double number) {
    const std::string after = Read(scenePath);
    if (result < 0) {
        Check(after == before, "a failure changed the scene");
        return;
    }
    Check(result == groups, "success answered another count than the number of groups");
    Check(OtherLines(after) == OtherLines(before), "a line outside the crease statement changed");
    // Without the old marker the statement written is the one a second run
    // replaces, with the same edges: nothing more changes.
    if (before.find("  \tsetAttr \".cd\"") == std::string::npos) {
        std::vector<char> scene(scenePath.begin(), scenePath.end());
        scene.push_back('\0');
        Check(GetCreases(objPath.c_str(), number, scene.data()) == result, "a second run answered differently");
        Check(Read(scenePath) == after, "a second run changed the scene again");
    }
}

}  // namespace fuzz
