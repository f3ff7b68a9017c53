// A plain second reading of an OBJ mesh's group boundaries, by the letter of
// the rules, to check the library's fast reader against: the whole file in
// memory, groups in an ordered map, edges in ordered sets, vertex numbers
// read with a string stream (after the "/" parts are cut off word by word).
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "Reference.h"

struct ReferenceBoundaries {
    int status = 0;  // 0, -1 (unreadable), -16 (too many groups)
    int groups = 0;
    std::set<std::pair<std::int32_t, std::int32_t>> edges;
};

inline std::vector<std::int32_t> ReferenceFaceNumbers(const std::string& line) {
    std::string text = line.size() > 2 ? line.substr(2) : std::string();
    if (text.find('/') != std::string::npos) {
        std::string rebuilt, word;
        // Words are split at blanks only: a tab stays inside a word.
        for (std::size_t start = 0; start <= text.size();) {
            std::size_t blank = text.find(' ', start);
            if (blank == std::string::npos) blank = text.size();
            word = text.substr(start, blank - start);
            if (!word.empty()) rebuilt += word.substr(0, word.find('/')) + " ";
            start = blank + 1;
        }
        text = rebuilt;
    }
    std::istringstream in(text);
    std::vector<std::int32_t> numbers;
    int value;
    while (in >> value) numbers.push_back(value);
    return numbers;
}

inline ReferenceBoundaries ReferenceGroupBoundaries(const std::string& bytes, char groupChar) {
    ReferenceBoundaries result;
    auto lines = ReferenceLines(bytes);
    if (!lines) {
        result.status = -1;
        return result;
    }
    std::map<std::string, int> table;
    std::map<int, std::set<std::pair<std::int32_t, std::int32_t>>> sets;
    int current = 0;
    std::int64_t vertexLines = 0;
    for (const std::string& line : *lines) {
        if (line.empty()) continue;
        if (line[0] == groupChar) {
            auto found = table.find(line);
            if (found != table.end()) {
                current = found->second;
            } else if (result.groups + 1 > 8191) {
                result.status = -16;
                return result;
            } else {
                table[line] = current = result.groups++;
            }
        } else if (line[0] == 'f') {
            std::vector<std::int32_t> numbers = ReferenceFaceNumbers(line);
            if (numbers.empty()) continue;
            std::vector<std::int32_t> indices;
            for (std::int32_t n : numbers)
                indices.push_back(n < 0 ? static_cast<std::int32_t>(std::min<std::int64_t>(vertexLines, 2147483647) + n)
                                        : n - 1);
            indices.push_back(indices.front());
            for (std::size_t i = 0; i + 1 < indices.size(); ++i) {
                auto edge = std::minmax(indices[i], indices[i + 1]);
                auto& set = sets[current];
                if (!set.insert(edge).second) set.erase(edge);
            }
        } else if (line[0] == 'v' && line.size() > 1 && line[1] == ' ') {
            ++vertexLines;
        }
    }
    for (auto& [group, set] : sets)
        if (group < result.groups) result.edges.insert(set.begin(), set.end());
    return result;
}
