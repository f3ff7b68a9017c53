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
