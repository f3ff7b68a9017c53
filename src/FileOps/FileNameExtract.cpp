#include <stdexcept>

#include "FileOps.h"

namespace {

constexpr const char* kSeparators = "/\\";

std::string FileName(const std::string& path) {
    std::size_t separator = path.find_last_of(kSeparators);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace

std::string FileNameExtract(const std::string& path, int mode) {
    switch (mode) {
    case 1: {
        std::size_t separator = path.find_last_of(kSeparators);
        return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
    }
    case 2: {
        std::string name = FileName(path);
        std::size_t dot = name.rfind('.');
        return dot == std::string::npos ? name : name.substr(0, dot);
    }
    case 3: {
        std::size_t dot = path.rfind('.');
        return dot == std::string::npos ? path : path.substr(0, dot);
    }
    case 4: {
        std::size_t dot = path.rfind('.');
        if (dot == std::string::npos) throw std::out_of_range("FileNameExtract: the path has no extension");
        return path.substr(dot);
    }
    case 6:
        return FileName(path);
    default:
        return path;
    }
}
