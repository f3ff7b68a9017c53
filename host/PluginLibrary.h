// Loads the library as a host does: by path, binding exports by name.
#pragma once

#include <string>
#include <vector>

#include "pellando.h"

class PluginLibrary {
public:
    PluginLibrary() = default;
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // Loads the library at `path`. False, with a message in error(), when
    // the platform's loader refuses it.
    bool load(const std::string& path);

    // Loads the first of `places` that the platform's loader takes. False
    // when none does, with every place and the loader's reason in error().
    bool loadFirst(const std::vector<std::string>& places);

    const std::string& error() const { return error_; }
    // The place the library was loaded from, as it was given.
    const std::string& path() const { return path_; }

    // The export called `name`, or null when the library has none.
    PellandoExport find(const char* name) const;

    // The library built beside the program at `programPath` (argv[0] works).
    static std::string besideProgram(const char* programPath);

    // Where an installed program looks for the library, in order: beside
    // itself; the install tree's library folder as seen from the program's
    // folder (POSIX); the bare file name, for the platform's own search
    // (the loader's path and cache on POSIX, the program folder, system
    // folders and PATH on Windows).
    static std::vector<std::string> searchPlaces(const char* programPath);

private:
    void* handle_ = nullptr;
    std::string path_;
    std::string error_;
};
