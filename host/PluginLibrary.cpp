#include "PluginLibrary.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <climits>
#include <cstdlib>
#include <unistd.h>
#endif

#ifdef _WIN32
static const char kLibraryName[] = "libPellandoDLL03.dll";
static const char kSeparator[] = "\\";
#elif defined(__APPLE__)
static const char kLibraryName[] = "PellandoDLL.dylib";
static const char kSeparator[] = "/";
#else
static const char kLibraryName[] = "libPellandoDLL.so";
static const char kSeparator[] = "/";
#endif

namespace {

// The loader's reason for refusing `path`, without the path it repeats.
std::string loaderError([[maybe_unused]] const std::string& path) {
#ifdef _WIN32
    DWORD code = GetLastError();
    char text[512];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                             text, sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' ')) --n;
    return "error " + std::to_string(code) + (n > 0 ? " (" + std::string(text, n) + ")" : std::string());
#else
    const char* message = dlerror();
    std::string reason = message ? message : "unknown error";
    std::string repeated = path + ": ";
    if (reason.compare(0, repeated.size(), repeated) == 0) reason.erase(0, repeated.size());
    return reason;
#endif
}

// A name without a folder, which the loader looks for along its own path.
bool isBareName(const std::string& place) { return place.find_first_of("/\\") == std::string::npos; }

// The folder of the running program (argv[0] only where the system cannot say).
std::string programFolder(const char* programPath) {
    std::string program;
#ifdef _WIN32
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    program = n > 0 && n < sizeof path ? std::string(path, n) : std::string(programPath ? programPath : "");
#else
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    program = n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string(programPath ? programPath : "");
#endif
    std::size_t cut = program.find_last_of("/\\");
    return cut == std::string::npos ? std::string(".") : program.substr(0, cut);
}

}  // namespace

PluginLibrary::~PluginLibrary() {
    if (!handle_) return;
#ifdef _WIN32
    FreeLibrary(static_cast<HMODULE>(handle_));
#else
    dlclose(handle_);
#endif
}

bool PluginLibrary::load(const std::string& path) {
#ifdef _WIN32
    handle_ = LoadLibraryA(path.c_str());
#else
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
    if (!handle_) {
        error_ = path + (isBareName(path) ? " (the system's search)" : "") + ": " + loaderError(path);
        return false;
    }
    path_ = path;
    error_.clear();
    return true;
}

bool PluginLibrary::loadFirst(const std::vector<std::string>& places) {
    std::string tried;
    for (const std::string& place : places) {
        if (load(place)) return true;
        tried += "\n  " + error_;
    }
    error_ = "cannot load the library from any of these places:" + tried;
    return false;
}

PellandoExport PluginLibrary::find(const char* name) const {
    if (!handle_) return nullptr;
#ifdef _WIN32
    // Through void (*)(): the generic function pointer type a cast may leave.
    FARPROC function = GetProcAddress(static_cast<HMODULE>(handle_), name);
    return reinterpret_cast<PellandoExport>(reinterpret_cast<void (*)()>(function));
#else
    return reinterpret_cast<PellandoExport>(dlsym(handle_, name));
#endif
}

std::string PluginLibrary::besideProgram(const char* programPath) {
    return programFolder(programPath) + kSeparator + kLibraryName;
}

std::vector<std::string> PluginLibrary::searchPlaces(const char* programPath) {
    std::string folder = programFolder(programPath);
    std::vector<std::string> places = {folder + kSeparator + kLibraryName};
#ifdef PELLANDO_LIBRARY_FROM_PROGRAM
    // The build's install layout: the library folder relative to the
    // program folder, such as "../lib" or "../lib/x86_64-linux-gnu".
    places.push_back(folder + kSeparator + PELLANDO_LIBRARY_FROM_PROGRAM + kSeparator + kLibraryName);
#endif
    places.push_back(kLibraryName);
    return places;
}
