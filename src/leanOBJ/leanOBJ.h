// The OBJ workers behind the mesh-file exports. Each reads its inputs as text
// (see textio::TextReader) and replaces its output only when the whole new
// content is written (see textio::FileReplacer).
#pragma once

// Turns smoothing groups into groups: header line first, then every input
// line by its first one or two bytes ("v " kept, other "v" dropped, "g" made
// a comment, "s" made a group, the rest kept). The output may be the input.
// Answers PELLANDO_OK, PELLANDO_FAILED (input cannot be opened or read) or
// PELLANDO_CANNOT_WRITE (output left as it was).
float LeanSmoothtoGroupOBJ(const char* inputPath, const char* outputPath);

// Transfers the edges where the groups of an OBJ mesh meet into the edge
// crease statement of a Maya ASCII scene. `groupChar` is the first byte of
// the group lines: 'g' for groups, 's' for smoothing groups. Answers the
// number of distinct group lines when the scene was rewritten; otherwise
// PELLANDO_FAILED (a file cannot be opened or read), PELLANDO_NO_CREASE_EDGES,
// PELLANDO_NO_EDGE_LIST, PELLANDO_CANNOT_WRITE or PELLANDO_TOO_MANY_GROUPS.
float GetCreasesOBJ(const char* objPath, const char* scenePath, char groupChar);

// Puts the vertex lines ("v" + blank) of the OBJ file `sourcePath` into the
// OBJ file `targetPath`, which must hold as many. The target becomes the line
// "# written by Quillfer plugin for Orvex", the source's vertex lines byte for
// byte, then the target's lines that are neither vertex lines nor comments
// ("#" first), in their order. True when the target was rewritten; false,
// with the target exactly as it was, when the source cannot be read or holds
// no vertex line, the target cannot be read or written, the counts differ,
// or the target holds nothing but vertex lines and comments. The two paths
// may name the same file.
bool LeanSwapVerts(const char* sourcePath, const char* targetPath);
