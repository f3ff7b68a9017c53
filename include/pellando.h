/*
 * pellando.h - the plug-in interface of the Pellando library for Orvex.
 *
 * The library ships as libPellandoDLL03.dll (32-bit Windows) and as
 * PellandoDLL (POSIX shared library: libPellandoDLL.so on Linux,
 * PellandoDLL.dylib with install name /usr/local/lib/PellandoDLL.dylib on
 * macOS). A host loads it and binds the exports below by name
 * (GetProcAddress, dlsym).
 *
 * Call shape. Every export has the same signature, PellandoExport:
 *   text    a NUL-terminated path, only read;
 *   number  a double, read by GetCreases only (any value, NaN included, is
 *           harmless elsewhere);
 *   buffer  a second NUL-terminated path, only read, or (GetFile) room for
 *           the text handed back;
 * and answers one float: 0 or a count on success, a negative whole number
 * (enum PellandoResult) on failure. The calling convention is the platform's
 * default for plain C functions (cdecl on 32-bit Windows, not WINAPI).
 * Paths are byte strings in the platform's file-name encoding, passed to the
 * C runtime unchanged. No export keeps or frees a pointer of the host's.
 *
 * Text files. Files are read and written as the platform's C runtime reads
 * and writes text. Windows build: a CR LF pair reads as a line end, a CR not
 * followed by LF stays in the line, a byte 0x1A ends the file, and every line
 * written ends in CR LF. POSIX build: nothing is translated; a CR before LF
 * stays in the line and is written back with it, while lines the library
 * makes up end in LF. In both builds only LF ends a line. A file in which a
 * 0x1A byte is followed by anything but more 0x1A bytes counts, in the
 * Windows build, as a file that cannot be read (it would be cut short).
 *
 * Safety. No export throws, prints or keeps state between calls (apart from
 * the one open folder listing). A rewritten file is replaced only once its
 * new content is complete and on disk: on every failure the output is left
 * exactly as it was. An output that another program creates, replaces or
 * changes while the call runs is left to that program: the call answers its
 * cannot-write code. A replaced file keeps its permission bits; a symbolic
 * link keeps being a link to the replaced file. Running out of memory inside
 * an export answers -1 (PELLANDO_FAILED) with nothing written.
 *
 * Threads. Version, SmoothtoGroupOBJ, SwapVertices, GetCreases, FileDelete
 * and EmptyFolder share no state: they may be called from several threads
 * at once, and each call gives what it gives alone, as long as no file that
 * one call writes or deletes is read, written or deleted by another call
 * running at the same time (several calls may read the same input).
 * EmptyFolder touches every file directly in its folder, including the
 * temporary file a rewrite keeps beside its output until it is done.
 * OpenFolder, GetFile and CloseFolder share the process's one open listing:
 * call them from one thread at a time (one thread for all listings, or a
 * lock of the caller's around each call); they may run beside calls of the
 * other exports. The POSIX build may read TMPDIR during a rewrite, so the
 * environment must not be changed (setenv, putenv) in another thread while
 * a call runs. GetCreases on large files (POSIX builds) uses one thread of
 * its own beside the caller's, which ends before the call returns.
 */
#ifndef PELLANDO_H
#define PELLANDO_H

#ifdef __cplusplus
extern "C" {
#endif

/* The answers of the exports, as whole-number floats. A value means what the
 * export's own comment says; -1 in particular stands for several failures. */
enum PellandoResult {
    PELLANDO_OK = 0,            /* done */
    PELLANDO_FAILED = -1,       /* an input cannot be opened or read (see each export) */
    PELLANDO_NULL_POINTER = -2, /* text or buffer is a null pointer */
    PELLANDO_CANNOT_WRITE = -3, /* the output cannot be written; left as it was */
    PELLANDO_END_OF_LISTING = -3,       /* GetFile: the open listing has no further entry */
    PELLANDO_NO_CREASE_EDGES = -4,      /* GetCreases: the mesh has no group boundary */
    PELLANDO_NO_EDGE_LIST = -5,         /* GetCreases: the scene has no edges and no creases */
    PELLANDO_CREASES_NULL_POINTER = -7, /* GetCreases: text or buffer is a null pointer */
    PELLANDO_TOO_MANY_GROUPS = -16      /* GetCreases: more than 8191 distinct group lines */
};

/* Version numbers: Windows build 3, POSIX (Mac OS X rules) build 20. */
#ifdef _WIN32
#define PELLANDO_VERSION 3
#else
#define PELLANDO_VERSION 20
#endif

/* The signature every export shares, for binding by name. */
typedef float (*PellandoExport)(const char* text, double number, char* buffer);

/*
 * Version: the build's version number, 3 (Windows) or 20 (POSIX).
 * Reads no argument (all may be null); cannot fail.
 */
float Version(const char* text, double number, char* buffer);

/*
 * SmoothtoGroupOBJ: turns the smoothing groups of a Wavefront OBJ file into
 * groups.
 *   text    path of the OBJ file to read;
 *   number  not read;
 *   buffer  path of the OBJ file to write; may be the same file as text.
 * The output starts with the line "# Exported from Pellando plugin test
 * version", followed by the input's lines in order, each changed by its first
 * one or two bytes (case-sensitive):
 *   "v" + blank   copied (a vertex position);
 *   "v" otherwise dropped ("vt", "vn", "vp", "v" alone, "v" + tab);
 *   "g..."        first byte becomes "#" (the old group becomes a comment);
 *   "s..."        "g " + the (at most 256) bytes after the "s": "s 1" gives
 *                 "g  1", with two blanks;
 *   anything else copied (faces keep their "/" parts).
 * Results:
 *    0  the output was written;
 *   -1  the input cannot be opened or read; nothing was written;
 *   -2  text or buffer is null; no file was opened;
 *   -3  the output cannot be written (read-only, a folder, missing folder,
 *       disk full); it is left exactly as it was.
 */
float SmoothtoGroupOBJ(const char* text, double number, char* buffer);

/*
 * GetCreases: writes the edges where the groups of an OBJ mesh meet into the
 * edge crease statement of a Maya ASCII scene.
 *   text    path of the OBJ file (read only);
 *   number  the grouping: above 0 after truncation toward zero, the faces are
 *           grouped by their smoothing group lines ("s ..."); otherwise (0,
 *           negative, NaN, beyond the 32-bit range) by their group lines
 *           ("g ...");
 *   buffer  path of the scene file (.ma), rewritten in place; the buffer
 *           itself is only read.
 * The mesh: each distinct group line (its whole text) is one group, up to
 * 8191; faces before the first group line belong to the first group. The
 * crease edges are the edges used an odd number of times by the faces of one
 * group: where it meets another group, and the open border. Face vertex
 * references may be relative (negative); "/" parts are ignored.
 * The scene: the edges of the last mesh's edge list (the last
 * `setAttr -s N ".ed..."` and the `.ed[a:b]` blocks after it) are numbered
 * from 0; a crease edge is found whichever vertex order the scene lists it
 * in. The scene's last crease statement (`setAttr ".cd" ...`, through the
 * line ending in ";") is replaced by
 *     "  setAttr ".cd" -type "dataPolyComponent" Index_Data Edge N"
 *     " i1 1000 i2 1000 ...  ;"
 * listing the N edge numbers found, ascending, each with the value 1000.
 * Without a crease statement the new one goes right after the edge list.
 * Every other line is kept; running it twice gives the same file as once.
 * Results:
 *   the number of groups (1 to 8191) when the scene was rewritten;
 *   -1  the OBJ file or the scene cannot be opened or read;
 *   -3  the scene cannot be written; it is left as it was;
 *   -4  no crease edge (no group line of the chosen kind, no faces, or
 *       closed groups only); the scene is not touched;
 *   -5  the scene has neither an edge list nor a crease statement; it is
 *       left as it was;
 *   -7  text or buffer is null; no file was opened;
 *  -16  the OBJ file has more than 8191 distinct group lines; the scene is
 *       not touched.
 */
float GetCreases(const char* text, double number, char* buffer);

/*
 * SwapVertices: puts the vertex positions of one Wavefront OBJ file into
 * another of the same vertex count, whose other statements stay.
 *   text    path of the source OBJ file, whose vertex lines are taken (read
 *           only);
 *   number  not read;
 *   buffer  path of the target OBJ file, rewritten in place; may be the same
 *           file as text. The buffer itself is only read.
 * A vertex line is one whose first two bytes are "v" and a blank (not a tab);
 * a comment line is one whose first byte is "#". The target becomes:
 *   the line "# written by Quillfer plugin for Orvex";
 *   the source's vertex lines, byte for byte, in their order (the source's
 *   other lines are ignored);
 *   the target's lines that are neither vertex lines nor comments ("vt",
 *   "vn", "v" + tab, faces, groups, empty lines...), in their order.
 * Vertex lines are matched by their count alone; nothing is parsed. The
 * target's old comments go, so repeated swaps leave one header line.
 * Results:
 *    0  the target was rewritten;
 *   -1  the target was left exactly as it was, because: the source cannot be
 *       opened or read, or holds no vertex line (the target is then not even
 *       opened); the target cannot be opened or read, or cannot be written
 *       (read-only, locked, disk full); the two vertex counts differ; or the
 *       target holds nothing but vertex lines and comments;
 *   -2  text or buffer is null; no file was opened.
 */
float SwapVertices(const char* text, double number, char* buffer);

/*
 * The folder exports. OpenFolder, GetFile and CloseFolder list one folder,
 * one entry a call; the library keeps that one listing open between calls,
 * and there is never more than one. FileDelete and EmptyFolder neither use
 * nor change it. A listing: OpenFolder, then GetFile until it answers -3,
 * then CloseFolder. None of them reads number.
 */

/*
 * OpenFolder: opens a listing of the folder at text (a path, with or without
 * a trailing separator). A listing that was open is closed first, also when
 * the new one cannot be opened.
 * Results:
 *    0  the folder is open for listing, at its first entry;
 *   -1  it cannot be opened (text is null, empty, missing, not a folder, or
 *       may not be read); no listing is open afterwards.
 */
float OpenFolder(const char* text, double number, char* buffer);

/*
 * GetFile: writes the name of the open listing's next entry into buffer: the
 * bare name with its terminating NUL, nothing after it. Every entry comes in
 * the platform's own order, unsorted and unfiltered: files, subfolders, "."
 * and ".." alike, wherever the platform puts them. The buffer must hold the
 * longest name with its NUL: 260 bytes on Windows, 256 bytes on POSIX
 * systems. text is not read.
 * Results:
 *    0  the next entry name is in buffer;
 *   -1  no folder is open; buffer is not written;
 *   -2  buffer is null (with a folder open); nothing is written and the
 *       listing does not move on;
 *   -3  the listing has no further entry (or cannot be read further); buffer
 *       is not written. Every later call answers -3 until CloseFolder.
 */
float GetFile(const char* text, double number, char* buffer);

/*
 * CloseFolder: closes the open listing. Reads no argument.
 * Results:
 *    0  the listing was closed;
 *   -1  no folder is open.
 */
float CloseFolder(const char* text, double number, char* buffer);

/*
 * FileDelete: deletes the file at text. On POSIX systems an empty folder is
 * deleted as well; on Windows a folder never is.
 * Results:
 *    0  it was deleted;
 *   -1  text is null, or it cannot be deleted (missing, a folder on Windows,
 *       a folder that is not empty, read-only on Windows, not permitted).
 */
float FileDelete(const char* text, double number, char* buffer);

/*
 * EmptyFolder: deletes the entries directly in the folder at text whose
 * names hold a "." that is not their last character ("a.obj", "b.txt",
 * ".hidden"); entries without one ("README", "sub", "notes.") stay.
 * Subfolders are never entered; a subfolder named like a file ("old.data")
 * is deleted like a file when the platform allows it (POSIX: when empty;
 * Windows: never). The path may end in the platform's separator ("\" on
 * Windows, "/" on POSIX) or not. An entry that cannot be deleted stays, and
 * the others are still deleted.
 * Results:
 *    0  the folder was listed to its end (whatever could be deleted);
 *   -1  text is null or empty, or the folder cannot be opened; nothing was
 *       deleted.
 */
float EmptyFolder(const char* text, double number, char* buffer);

#ifdef __cplusplus
} /* extern "C" */
#endif

#if defined(__cplusplus) && !defined(_WIN32)
#include <string>

/*
 * FileNameExtract (POSIX library only, for C++ callers; not a plug-in export
 * and not in the Windows DLL): one piece of a path text. "/" and "\" both
 * end a folder part, in every build; the last "." marks the extension.
 *   mode 1  the folder part, up to and including the last separator ("" without
 *           one): "C:\models\head.obj" gives "C:\models\";
 *   mode 2  the file name without its extension: "head";
 *   mode 3  the path without its extension, cut at the path's last ".",
 *           which may lie in a folder name ("C:\my.data\readme" gives "C:\my");
 *   mode 4  the extension from the path's last "." on: ".obj"; a path with no
 *           "." throws std::out_of_range;
 *   mode 6  the file name: "head.obj";
 *   0, 5 and any other mode: the path itself.
 * The path itself never changes; the piece is a new string.
 */
std::string FileNameExtract(const std::string& path, int mode);
#endif

#endif /* PELLANDO_H */
