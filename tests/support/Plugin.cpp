#include "Plugin.h"

#include <cstring>
#include <stdexcept>
#include <vector>

#include "PluginLibrary.h"

namespace {

const PluginLibrary& Library() {
    static PluginLibrary library;
    static bool loaded = library.load(PluginLibrary::besideProgram(nullptr));
    if (!loaded) throw std::runtime_error("the library cannot be loaded: " + library.error());
    return library;
}

}  // namespace

PellandoExport Export(const char* name) {
    PellandoExport function = Library().find(name);
    if (!function) throw std::runtime_error(std::string("the library has no export ") + name);
    return function;
}

float Call(const char* name, const char* text, double number, const char* buffer) {
    if (!buffer) return Export(name)(text, number, nullptr);
    std::vector<char> writable(buffer, buffer + std::strlen(buffer) + 1);
    writable.resize(writable.size() + 300, '\0');
    return Export(name)(text, number, writable.data());
}
