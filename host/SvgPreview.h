// The crease preview: an SVG picture of a mesh seen from the front, the side
// and the top (orthographic, each view scaled to fit), its edges thin and
// light, the crease edges written bold in one colour and those the scene
// lacks in another, and a legend.
#pragma once

#include <string>
#include <vector>

#include "PreviewMesh.h"

namespace cli {

struct LegendLine {
    enum class Key { None, Mesh, Written, Dropped };
    Key key;  // the line's colour sample
    std::string text;
};

// Writes the picture to `path` (replacing it only once complete). Edges
// whose vertices the mesh lacks are left out, and the legend says how many.
// Edges that fall on the same picture points in a view are drawn once there,
// which bounds the file for meshes of millions of faces. False when the
// file cannot be written.
bool WriteSvgPreview(const char* path, const PreviewMesh& mesh, const std::vector<creases::Edge>& written,
                     const std::vector<creases::Edge>& dropped, std::vector<LegendLine> legend);

}  // namespace cli
