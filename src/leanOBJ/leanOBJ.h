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
