#include <cstring>

#include "FileOps.h"

bool IsDirectory(const char* path) {
    if (!path) return true;
    std::size_t length = std::strlen(path);
    // "." and "..", and any path ending in them.
    if (length == 0 || path[length - 1] == '.') return true;
    for (std::size_t i = length; i-- > 0;) {
        if (path[i] == '.') return false;
        if (path[i] == '/' || path[i] == '\\') return true;
    }
    return true;
}
