// Loads the library as a host does: by path, binding exports by name.
#pragma once

#include <string>

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
    const std::string& error() const { return error_; }

    // The export called `name`, or null when the library has none.
    PellandoExport find(const char* name) const;

    // The library built beside the program at `programPath` (argv[0] works).
    static std::string besideProgram(const char* programPath);

private:
    void* handle_ = nullptr;
    std::string error_;
};
