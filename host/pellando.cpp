// pellando: a command-line stand-in for the host application. It loads the
// library by path, binds one export by name, calls it with the plug-in call
// shape and prints the answer with its meaning. "pellando --library PATH
// list DIR" drives the three listing exports in one run, as a host lists a
// folder. Beside these raw export forms, the subcommands for people
// ("pellando help"; see Subcommands.h, "list" among them) run the library's
// code built into this program.
//
// Exit status: 0 when the export answered success, 1 when it answered a
// failure code, 2 on a usage error or when the library cannot be loaded.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "PluginLibrary.h"
#include "ProjectVersion.h"
#include "Subcommands.h"

namespace {

struct Meaning {
    float result;
    const char* words;
};

// How the command line maps onto an export's arguments.
enum class Form {
    None,            // NAME
    Text,            // NAME TEXT
    TextNumberBuffer, // NAME TEXT NUMBER BUFFER
    Listing          // list DIR: OpenFolder, GetFile until -3, CloseFolder
};

struct Command {
    const char* name;
    Form form;
    const char* arguments;
    std::vector<Meaning> meanings;
};

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"Version", Form::None, "", {}},
        {"SmoothtoGroupOBJ", Form::TextNumberBuffer, "IN.obj NUMBER OUT.obj",
         {{0, "written"},
          {-1, "the input file cannot be opened"},
          {-2, "a path is missing"},
          {-3, "the output file cannot be written; it was left as it was"}}},
        {"GetCreases", Form::TextNumberBuffer, "MESH.obj MODE SCENE.ma  (MODE > 0: smoothing groups, else groups)",
         {{-1, "the mesh or the scene cannot be opened"},
          {-3, "the scene cannot be written; it was left as it was"},
          {-4, "the mesh has no group boundary edges; the scene was not touched"},
          {-5, "the scene has no edge list and no crease statement; it was left as it was"},
          {-7, "a path is missing"},
          {-16, "the mesh has more than 8191 groups; the scene was not touched"}}},
        {"SwapVertices", Form::TextNumberBuffer, "SOURCE.obj NUMBER TARGET.obj",
         {{0, "the target now holds the source's vertices"},
          {-1, "nothing was changed: a file cannot be read or written, the source has no vertex lines, "
               "the vertex counts differ, or the target holds only vertex lines and comments"},
          {-2, "a path is missing"}}},
        {"OpenFolder", Form::Text, "DIR",
         {{0, "the folder is open for listing (until this program ends)"},
          {-1, "the folder cannot be opened"}}},
        {"GetFile", Form::None, "(each run is a new process, with no folder open: see list)",
         {{-1, "no folder is open"},
          {-2, "the buffer is missing"},
          {-3, "the listing has no further entry"}}},
        {"CloseFolder", Form::None, "",
         {{0, "the folder listing was closed"},
          {-1, "no folder is open"}}},
        {"FileDelete", Form::Text, "PATH",
         {{0, "deleted"},
          {-1, "it cannot be deleted (missing, a folder, or not permitted)"}}},
        {"EmptyFolder", Form::Text, "DIR  (deletes the files in DIR whose names have an extension)",
         {{0, "the files with an extension that could be deleted are gone"},
          {-1, "the folder cannot be opened; nothing was deleted"}}},
        {"list", Form::Listing, "DIR  (OpenFolder, GetFile until -3, CloseFolder: one name a line)",
         {{-1, "the folder cannot be opened"}}},
    };
    return table;
}

const Command* findCommand(const char* name) {
    for (const Command& command : commands())
        if (std::strcmp(command.name, name) == 0) return &command;
    return nullptr;
}

void printUsage(std::FILE* to) {
    cli::PrintSubcommands(to);
    std::fprintf(to,
                 "\n"
                 "usage: pellando [--library PATH] EXPORT [ARGUMENTS]\n"
                 "       pellando [--library PATH] list DIR\n"
                 "       pellando [--library PATH] --version\n"
                 "       pellando --help\n"
                 "Loads the plug-in library (default: the first found beside this program,\n"
                 "in the install's library folder, or by the system's search),\n"
                 "calls one export and prints its result and what it means; list lists a\n"
                 "folder through the folder exports.\n"
                 "Exports and their arguments:\n");
    for (const Command& command : commands())
        std::fprintf(to, "  %-18s %s\n", command.name, command.arguments);
    std::fprintf(to, "Exit status: 0 success, 1 failure result, 2 usage error.\n");
}

int usageError(const char* message) {
    std::fprintf(stderr, "pellando: %s\n", message);
    printUsage(stderr);
    return 2;
}

// Lists a folder as a host does: OpenFolder, GetFile until it answers -3,
// CloseFolder; prints each entry name on a line of its own.
int listFolder(const PluginLibrary& library, const char* folder) {
    PellandoExport open = library.find("OpenFolder"), get = library.find("GetFile"),
                   close = library.find("CloseFolder");
    if (!open || !get || !close) {
        std::fprintf(stderr, "pellando: the library has no folder exports\n");
        return 2;
    }
    float result = open(folder, 0, nullptr);
    if (result != PELLANDO_OK) {
        std::printf("%g: the folder cannot be opened\n", static_cast<double>(result));
        return 1;
    }
    std::vector<char> name(4096, '\0');  // more than the longest entry name
    while ((result = get(nullptr, 0, name.data())) == PELLANDO_OK) std::printf("%s\n", name.data());
    float closed = close(nullptr, 0, nullptr);
    if (result != PELLANDO_END_OF_LISTING || closed != PELLANDO_OK) {
        std::printf("%g, %g: the listing ended unexpectedly\n", static_cast<double>(result),
                    static_cast<double>(closed));
        return 1;
    }
    return 0;
}

// The library named by --library, or else the first found where an installed
// program looks for it; a failure is reported with every place tried.
bool loadLibrary(PluginLibrary& library, const std::string& chosen, const char* program) {
    bool loaded = chosen.empty() ? library.loadFirst(PluginLibrary::searchPlaces(program)) : library.load(chosen);
    if (!loaded) std::fprintf(stderr, "pellando: %s\n", library.error().c_str());
    return loaded;
}

// This program's release and the loaded library's own Version answer.
int printVersions(const std::string& chosen, const char* program) {
    std::printf("pellando %s\n", PELLANDO_PROJECT_VERSION);
    PluginLibrary library;
    if (!loadLibrary(library, chosen, program)) return 2;
    PellandoExport version = library.find("Version");
    if (!version) {
        std::fprintf(stderr, "pellando: the library has no export Version\n");
        return 2;
    }
    std::printf("library %s: Version %g\n", library.path().c_str(), static_cast<double>(version(nullptr, 0, nullptr)));
    return 0;
}

bool parseNumber(const char* text, double& number) {
    char* end = nullptr;
    number = std::strtod(text, &end);
    return end != text && *end == '\0';
}

const char* meaningOf(const Command& command, float result) {
    if (std::strcmp(command.name, "Version") == 0) return "version of this build";
    if (std::strcmp(command.name, "GetCreases") == 0 && result > 0) return "scene written; number of groups";
    for (const Meaning& meaning : command.meanings)
        if (meaning.result == result) return meaning.words;
    return "unknown result";
}

}  // namespace

int main(int argc, char** argv) {
    std::string libraryPath;
    int next = 1;
    if (next < argc && cli::IsSubcommand(argv[next])) return cli::RunSubcommand(argc - next, argv + next);
    if (next < argc && (std::strcmp(argv[next], "--help") == 0 || std::strcmp(argv[next], "-h") == 0)) {
        printUsage(stdout);
        return 0;
    }
    if (next < argc && std::strcmp(argv[next], "--library") == 0) {
        if (next + 1 >= argc) return usageError("--library needs a path");
        libraryPath = argv[next + 1];
        next += 2;
    }
    if (next < argc && std::strcmp(argv[next], "--version") == 0) {
        if (next + 1 != argc) return usageError("--version takes no arguments");
        return printVersions(libraryPath, argv[0]);
    }
    if (next >= argc) return usageError("no export named");
    const Command* command = findCommand(argv[next]);
    if (!command) return usageError("no such export");
    std::vector<char*> arguments(argv + next + 1, argv + argc);

    const char* text = nullptr;
    double number = 0;
    std::vector<char> buffer(4096, '\0');
    switch (command->form) {
    case Form::None:
        if (!arguments.empty()) return usageError("this export takes no arguments");
        break;
    case Form::Text:
    case Form::Listing:
        if (arguments.size() != 1) return usageError("this export takes one path");
        text = arguments[0];
        break;
    case Form::TextNumberBuffer:
        if (arguments.size() != 3) return usageError("this export takes TEXT NUMBER BUFFER");
        text = arguments[0];
        if (!parseNumber(arguments[1], number)) return usageError("NUMBER is not a number");
        buffer.assign(arguments[2], arguments[2] + std::strlen(arguments[2]) + 1);
        break;
    }

    PluginLibrary library;
    if (!loadLibrary(library, libraryPath, argv[0])) return 2;
    if (command->form == Form::Listing) return listFolder(library, text);
    PellandoExport function = library.find(command->name);
    if (!function) {
        std::fprintf(stderr, "pellando: the library has no export %s\n", command->name);
        return 2;
    }

    float result = function(text, number, buffer.data());
    if (std::strcmp(command->name, "GetFile") == 0 && result == PELLANDO_OK)
        std::printf("0: the next entry is %s\n", buffer.data());
    else
        std::printf("%g: %s\n", static_cast<double>(result), meaningOf(*command, result));
    return result < 0 ? 1 : 0;
}
