// What the fuzz harnesses share: a scratch folder for the process, files
// written and read whole, and checks that stop the run with a message.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fuzz {

inline const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        // In memory where possible: every successful call syncs its file.
        const char* base = std::getenv("FUZZ_DIR");
        std::filesystem::path root = base && *base ? std::filesystem::path(base)
                                     : std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                                                 : std::filesystem::temp_directory_path();
        std::string pattern = (root / "pellando-fuzz-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (!mkdtemp(name.data())) std::abort();
        return std::filesystem::path(name.data());
    }();
    return folder;
}

inline std::string Path(const char* name) { return (Folder() / name).string(); }

inline void Write(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The names in the scratch folder: a stray temporary file is a fault.
inline std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Folder()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

}  // namespace fuzz
