// The subcommands for people, each running the library's own code linked
// into the program. Each answers the program's exit status: 0 success, 1 a
// failure (the library answered a failure code, or --strict refused), 2 a
// usage error.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace cli {

// A command line after the subcommand's name: its paths in order, and the
// options given (with their values, "" for a flag).
struct Arguments {
    std::vector<std::string> paths;
    std::vector<std::pair<std::string, std::string>> options;

    bool has(const std::string& option) const {
        for (const auto& given : options)
            if (given.first == option) return true;
        return false;
    }
    std::string value(const std::string& option) const {
        for (const auto& given : options)
            if (given.first == option) return given.second;
        return std::string();
    }
};

int RunCreases(const Arguments& arguments);
int RunSmoothToGroups(const Arguments& arguments);
int RunSwapVertices(const Arguments& arguments);
int RunList(const Arguments& arguments);
int RunDelete(const Arguments& arguments);
int RunEmpty(const Arguments& arguments);
int RunVersion(const Arguments& arguments);

}  // namespace cli
