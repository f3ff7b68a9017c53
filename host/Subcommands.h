// The program's subcommands for people (creases, smooth-to-groups, ...):
// their table, their help and the parsing of their command lines.
#pragma once

#include <cstdio>

namespace cli {

// True when `name` is a subcommand, or "help".
bool IsSubcommand(const char* name);

// Runs the subcommand named by argv[0] with the arguments after it, and
// answers the exit status (0 success, 1 failure, 2 usage error).
int RunSubcommand(int argc, char** argv);

// The subcommands, one line each, for the program's usage.
void PrintSubcommands(std::FILE* to);

}  // namespace cli
