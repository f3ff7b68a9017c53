#include <dirent.h>

#include <cstdio>
#include <cstring>

#include "FileOps.h"

bool ClearFolder(std::string path) {
    // An empty path would become the root folder once it got its separator.
    if (path.empty()) return false;
    if (path.back() != kPathSeparator) path += kPathSeparator;
    DIR* listing = opendir(path.c_str());
    if (!listing) return false;
    std::string entryPath;
    while (dirent* entry = readdir(listing)) {
        // By name, not by place: "." and ".." can come anywhere in a listing.
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
        // Built to any length: a long name is an entry like any other.
        entryPath.assign(path).append(entry->d_name);
        // What cannot be removed stays; the walk goes on.
        if (!IsDirectory(entryPath.c_str())) std::remove(entryPath.c_str());
    }
    closedir(listing);
    return true;
}
