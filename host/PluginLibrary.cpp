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
#elif defined(__APPLE__)
static const char kLibraryName[] = "PellandoDLL.dylib";
#else
static const char kLibraryName[] = "libPellandoDLL.so";
#endif

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
    if (!handle_) error_ = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
#else
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) error_ = dlerror();
#endif
    return handle_ != nullptr;
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
    std::string folder = cut == std::string::npos ? std::string(".") : program.substr(0, cut);
#ifdef _WIN32
    return folder + "\\" + kLibraryName;
#else
    return folder + "/" + kLibraryName;
#endif
}
