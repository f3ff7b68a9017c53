#include "SvgPreview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Scratch.h"

namespace {

// The number of segments ("M" commands) in the paths of one class in one view.
std::size_t Segments(const std::string& svg, const std::string& view, const std::string& cls) {
    std::size_t from = svg.find("<g id=\"" + view + "\""), to = svg.find("</g>", from);
    std::size_t count = 0;
    const std::string head = "<path class=\"" + cls + "\" d=\"";
    for (std::size_t at = svg.find(head, from); at < to; at = svg.find(head, at + 1)) {
        std::size_t end = svg.find('"', at + head.size());
        count += static_cast<std::size_t>(std::count(svg.begin() + static_cast<long>(at), svg.begin() + static_cast<long>(end), 'M'));
    }
    return count;
}

// A flat grid of 100 x 51 points, 9 picture units apart in the front view:
// every one of its 5049 row edges is a crease edge, each drawn bold there,
// in path elements short enough for any XML reader.
TEST(SvgPreviewTest, DrawsEveryCreaseEdgeInShortPathElements) {
    cli::PreviewMesh mesh;
    const int columns = 100, rows = 51;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x) mesh.positions.insert(mesh.positions.end(), {float(x), float(y), 0.0f});
    for (int axis = 0; axis < 3; ++axis) mesh.lo[axis] = 0;
    mesh.hi[0] = columns - 1;
    mesh.hi[1] = rows - 1;
    mesh.hi[2] = 0;
    std::vector<creases::Edge> written, dropped = {creases::MakeEdge(0, columns), creases::MakeEdge(0, 999999)};
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x + 1 < columns; ++x) written.push_back(creases::MakeEdge(y * columns + x, y * columns + x + 1));
    Scratch scratch;
    ASSERT_TRUE(cli::WriteSvgPreview(scratch.path("grid.svg").c_str(), mesh, written, dropped,
                                     {{cli::LegendLine::Key::Written, "row edges"}}));
    const std::string svg = scratch.read("grid.svg");
    EXPECT_EQ(Segments(svg, "front", "written"), written.size());
    EXPECT_EQ(Segments(svg, "front", "dropped"), 1u);
    // Seen from the side, each row is one point.
    EXPECT_EQ(Segments(svg, "side", "written"), std::size_t(rows));
    EXPECT_NE(svg.find("1 crease edge names vertices that the mesh lacks"), std::string::npos);
    std::size_t longest = 0;
    for (std::size_t at = 0, end; (end = svg.find('\n', at)) != std::string::npos; at = end + 1)
        longest = std::max(longest, end - at);
    EXPECT_LT(longest, 32u * 1024);
    EXPECT_EQ(scratch.names(), std::vector<std::string>{"grid.svg"});
}

TEST(SvgPreviewTest, AnOutputThatCannotBeWrittenIsRefused) {
    Scratch scratch;
    cli::PreviewMesh mesh;
    EXPECT_FALSE(cli::WriteSvgPreview(scratch.path("missing/grid.svg").c_str(), mesh, {}, {}, {}));
    EXPECT_TRUE(scratch.names().empty());
}

}  // namespace
