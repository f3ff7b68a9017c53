// A plain second reading of text files, to check the library's fast reader
// against: the whole file in memory, split where the platform's text mode
// splits it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Platform.h"

// The lines of a file's bytes; nothing when the Windows rules find data after
// a 0x1A byte (the file would be cut short).
inline std::optional<std::vector<std::string>> ReferenceLines(std::string bytes) {
    if (platform::kWindowsRules) {
        std::size_t z = bytes.find('\x1a');
        if (z != std::string::npos) {
            if (bytes.find_first_not_of('\x1a', z) != std::string::npos) return std::nullopt;
            bytes.resize(z);
        }
    }
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t lf = bytes.find('\n', start);
        std::size_t stop = lf == std::string::npos ? bytes.size() : lf;
        std::string line = bytes.substr(start, stop - start);
        if (platform::kWindowsRules && lf != std::string::npos && !line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = stop + 1;
    }
    return lines;
}
