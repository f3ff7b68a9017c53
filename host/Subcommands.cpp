#include "Subcommands.h"

#include <cstring>
#include <string>
#include <vector>

#include "Commands.h"

namespace cli {

namespace {

struct Option {
    const char* name;
    const char* value;  // the value's placeholder; null for a flag
};

struct Subcommand {
    const char* name;
    const char* synopsis;  // what follows the name
    const char* summary;   // one line
    const char* help;      // the rest: what it does, its options, an example
    std::size_t minPaths, maxPaths;
    std::vector<Option> options;
    int (*run)(const Arguments&);
};

const char kExitStatus[] = "Exit status: 0 success, 1 failure, 2 usage error.\n";

const std::vector<Subcommand>& Subcommands() {
    static const std::vector<Subcommand> table = {
        {"creases", "MESH.obj SCENE.ma [--smoothing-groups] [--dry-run] [--strict] [--json] [--preview FILE.svg]",
         "turn the edges where a mesh's groups meet into the creases of a Maya scene, and report",
         "Finds the edges where the groups of MESH.obj meet, and its open border (the crease\n"
         "edges), looks them up in the edge list of the last mesh in SCENE.ma and rewrites that\n"
         "mesh's edge crease statement to list them; every other line of the scene stays.\n"
         "Then reports what it found: the grouping and the number of groups, the crease edges\n"
         "found and how many the scene's edge list holds (written) or lacks (dropped), the\n"
         "scene's mesh node with its vertex and edge counts beside the mesh's vertex count, and\n"
         "where the statement went (the line it replaced, or the line it follows).\n"
         "\n"
         "  --smoothing-groups  group the faces by their smoothing groups (\"s\" lines), not by\n"
         "                      their groups (\"g\" lines)\n"
         "  --dry-run           report, but leave the scene untouched (no file is written or\n"
         "                      created for it; whether it could be written is not tested)\n"
         "  --strict            a warning is a failure: exit status 1, and nothing is written\n"
         "  --json              the report as one JSON object, for scripts\n"
         "  --preview FILE.svg  draw the mesh from the front, the side and the top, its edges\n"
         "                      thin and light, the crease edges written bold in orange and\n"
         "                      those the scene lacks in blue (written also with --dry-run)\n"
         "\n"
         "Warnings, on standard error: crease edges that the scene's edge list lacks (the mesh\n"
         "and the scene may not belong together, or one of them was triangulated or edited),\n"
         "and a mesh whose vertex count differs from the scene mesh's.\n"
         "The result is the one the host gets from GetCreases: the number of groups, or a\n"
         "negative failure code.\n"
         "\n"
         "Example:\n"
         "  pellando creases head.obj head.ma --smoothing-groups --dry-run --preview head.svg\n",
         2, 2,
         {{"--smoothing-groups", nullptr}, {"--dry-run", nullptr}, {"--strict", nullptr}, {"--json", nullptr},
          {"--preview", "FILE.svg"}},
         RunCreases},
        {"smooth-to-groups", "IN.obj [OUT.obj]", "turn an OBJ file's smoothing groups into groups",
         "Writes OUT.obj (IN.obj itself when OUT.obj is not given): a header line, then the\n"
         "lines of IN.obj with each smoothing group (\"s\" line) made a group (\"g\" line), each\n"
         "old group line made a comment, and texture coordinates, normals and other \"v\" lines\n"
         "that are no vertex position dropped. Says how many lines of each kind changed.\n"
         "\n"
         "Example:\n"
         "  pellando smooth-to-groups head.obj head-groups.obj\n",
         1, 2, {}, RunSmoothToGroups},
        {"swap-vertices", "SOURCE.obj TARGET.obj", "put one OBJ file's vertex positions into another",
         "Rewrites TARGET.obj with the vertex positions (\"v\" lines) of SOURCE.obj in place of its\n"
         "own; its other lines (texture coordinates, normals, groups, faces) stay, its comments\n"
         "go. The two must have the same number of vertex lines; otherwise TARGET.obj is left as\n"
         "it was.\n"
         "\n"
         "Example:\n"
         "  pellando swap-vertices head-sculpted.obj head.obj\n",
         2, 2, {}, RunSwapVertices},
        {"list", "DIR", "list a folder's entries as the host sees them",
         "Prints the name of every entry of DIR, one a line, in the platform's own order,\n"
         "\".\" and \"..\" included.\n"
         "\n"
         "Example:\n"
         "  pellando list models\n",
         1, 1, {}, RunList},
        {"delete", "FILE", "delete a file",
         "Deletes FILE (on POSIX systems also an empty folder).\n"
         "\n"
         "Example:\n"
         "  pellando delete models/old.obj\n",
         1, 1, {}, RunDelete},
        {"empty", "DIR", "delete the files directly in a folder whose names have an extension",
         "Deletes the entries directly in DIR whose names hold a \".\" that is not their last\n"
         "character (\"a.obj\", \"notes.txt\"); entries without one (\"README\", a folder \"sub\")\n"
         "stay, and subfolders are never entered. Names what it deleted and what stayed.\n"
         "\n"
         "Example:\n"
         "  pellando empty scratch\n",
         1, 1, {}, RunEmpty},
        {"version", "", "the release, and the version of the library code in this program",
         "Prints the release of this program and the version number that the Version export\n"
         "of the library code built into it answers (3 in Windows builds, 20 in POSIX builds).\n"
         "(pellando --version tells the same of the library it would load.)\n"
         "\n"
         "Example:\n"
         "  pellando version\n",
         0, 0, {}, RunVersion},
    };
    return table;
}

const Subcommand* Find(const char* name) {
    for (const Subcommand& command : Subcommands())
        if (std::strcmp(command.name, name) == 0) return &command;
    return nullptr;
}

void PrintUsageLine(std::FILE* to, const Subcommand& command) {
    std::fprintf(to, "usage: pellando %s%s%s\n", command.name, *command.synopsis ? " " : "", command.synopsis);
}

void PrintHelp(std::FILE* to, const Subcommand& command) {
    PrintUsageLine(to, command);
    std::fprintf(to, "\n%s\n%s", command.help, kExitStatus);
}

int UsageError(const Subcommand& command, const std::string& message) {
    std::fprintf(stderr, "pellando %s: %s\n", command.name, message.c_str());
    PrintUsageLine(stderr, command);
    std::fprintf(stderr, "(pellando help %s explains it)\n", command.name);
    return 2;
}

int RunHelp(int argc, char** argv) {
    if (argc < 2) {
        PrintSubcommands(stdout);
        return 0;
    }
    const Subcommand* command = Find(argv[1]);
    if (!command || argc > 2) {
        std::fprintf(stderr, "pellando help: no such subcommand: %s\n", argv[1]);
        PrintSubcommands(stderr);
        return 2;
    }
    PrintHelp(stdout, *command);
    return 0;
}

}  // namespace

bool IsSubcommand(const char* name) { return std::strcmp(name, "help") == 0 || Find(name) != nullptr; }

void PrintSubcommands(std::FILE* to) {
    std::fprintf(to, "usage: pellando SUBCOMMAND [ARGUMENTS]   (the library's code built into this program)\n");
    for (const Subcommand& command : Subcommands())
        std::fprintf(to, "  %-17s %s\n", command.name, command.summary);
    std::fprintf(to, "  %-17s %s\n", "help", "pellando help SUBCOMMAND (or SUBCOMMAND --help) explains one, with an example");
}

int RunSubcommand(int argc, char** argv) {
    if (std::strcmp(argv[0], "help") == 0) return RunHelp(argc, argv);
    const Subcommand& command = *Find(argv[0]);
    Arguments arguments;
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!optionsEnd && (argument == "--help" || argument == "-h")) {
            PrintHelp(stdout, command);
            return 0;
        }
        if (!optionsEnd && argument == "--") {
            optionsEnd = true;
            continue;
        }
        if (optionsEnd || argument.size() < 2 || argument[0] != '-') {
            arguments.paths.push_back(argument);
            continue;
        }
        const Option* option = nullptr;
        for (const Option& known : command.options)
            if (argument == known.name) option = &known;
        if (!option) return UsageError(command, "no such option: " + argument);
        if (arguments.has(argument)) return UsageError(command, argument + " is given twice");
        std::string value;
        if (option->value) {
            if (i + 1 >= argc) return UsageError(command, argument + " needs " + option->value);
            value = argv[++i];
        }
        arguments.options.emplace_back(argument, value);
    }
    if (arguments.paths.size() < command.minPaths || arguments.paths.size() > command.maxPaths) {
        if (command.maxPaths == 0) return UsageError(command, "takes no arguments");
        return UsageError(command, command.minPaths == 1 && command.maxPaths == 1
                                       ? "takes one path"
                                       : "takes " + std::string(command.synopsis));
    }
    return command.run(arguments);
}

}  // namespace cli
