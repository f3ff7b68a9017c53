// File and path services beside the exports: the file test and the folder
// emptying behind EmptyFolder, and the cutting of path texts into pieces for
// C++ callers of the library.
#pragma once

#include <string>

// The separator a folder path is given when it lacks one, and the one
// ClearFolder tests for: "\" on Windows, "/" elsewhere.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Whether a path names a folder, decided from its text alone, without asking
// the file system: a path whose last part holds a "." (and does not end in
// one) names a file; anything else names a folder. So "C:\data\mesh.obj" and
// "mesh.obj" are files; "C:\data\mesh", "C:\data.old\mesh", "C:\data\..",
// "notes." and "" are folders. Both "/" and "\" separate parts, in every
// build. A null path counts as a folder.
bool IsDirectory(const char* path);

// Deletes the entries directly in the folder `path` whose names IsDirectory
// takes for files (a "." inside the name, not at its end); subfolders are
// never entered, and a subfolder whose name looks like a file's is handed to
// the removal like a file (POSIX removes it when it is empty, Windows never).
// "." and ".." are passed over by their names. The platform's separator is
// appended to `path` when it does not end in one. True when the folder was
// listed to its end, whatever the single removals gave; false when it cannot
// be opened, and for an empty path (which would otherwise name the root).
bool ClearFolder(std::string path);

// One piece of a path; "/" and "\" both end a folder part, in every build,
// and the last "." marks the extension.
//   0, 5 and any other value: the path itself;
//   1  the folder part, up to and including the last separator ("" without);
//   2  the file name without its extension (cut at the file name's last ".");
//   3  the path without its extension (cut at the path's last ".", which may
//      lie in a folder name: "C:\my.data\readme" gives "C:\my");
//   4  the extension, from the path's last "." on (".obj"); a path without
//      any "." throws std::out_of_range;
//   6  the file name, after the last separator (the whole path without one).
// A C++ function for C++ callers, not a plug-in export: it is visible in the
// POSIX library and absent from the Windows DLL's export table.
std::string FileNameExtract(const std::string& path, int mode);
