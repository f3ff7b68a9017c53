// The folder exports: listing one folder at a time, deleting a file, emptying
// a folder of its files.
#include <cstdio>
#include <cstring>
#include <string>

#include "ExportGuard.h"
#include "FileOps/FileOps.h"
#include "Folder.h"
#include "pellando.h"

DIR* folder = nullptr;

float OpenFolder(const char* text, double, char*) {
    return Guarded([&] {
        // The listing it replaces could never be reached again: release it.
        if (folder) closedir(folder);
        folder = text ? opendir(text) : nullptr;
        return folder ? PELLANDO_OK : PELLANDO_FAILED;
    });
}

float GetFile(const char*, double, char* buffer) {
    return Guarded([&] {
        if (!folder) return PELLANDO_FAILED;
        // Checked before reading, so that the entry is not lost.
        if (!buffer) return PELLANDO_NULL_POINTER;
        // A listing at its end, or one that cannot be read further, stays at
        // its end until it is closed.
        const dirent* entry = readdir(folder);
        if (!entry) return PELLANDO_END_OF_LISTING;
        std::memcpy(buffer, entry->d_name, std::strlen(entry->d_name) + 1);
        return PELLANDO_OK;
    });
}

float CloseFolder(const char*, double, char*) {
    return Guarded([&] {
        if (!folder) return PELLANDO_FAILED;
        closedir(folder);
        folder = nullptr;
        return PELLANDO_OK;
    });
}

float FileDelete(const char* text, double, char*) {
    return Guarded([&] {
        if (!text) return PELLANDO_FAILED;
        return std::remove(text) == 0 ? PELLANDO_OK : PELLANDO_FAILED;
    });
}

float EmptyFolder(const char* text, double, char*) {
    return Guarded([&] {
        if (!text || !*text) return PELLANDO_FAILED;
        return ClearFolder(text) ? PELLANDO_OK : PELLANDO_FAILED;
    });
}
