#include "SvgPreview.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "Text.h"
#include "textio/FileReplacer.h"

namespace cli {

namespace {

// A view's drawing area is kPanel x kPanel picture units, and its points are
// whole units: finer than a screen shows, coarse enough that the many
// sub-unit edges of a dense mesh fall together.
constexpr int kPanel = 1000;
constexpr int kInset = 30;  // between the mesh and the view's frame
constexpr int kMargin = 60;
constexpr int kTitle = 60;
constexpr int kLegendLine = 40;
constexpr int kWidth = 3 * kPanel + 4 * kMargin;
// Short paths: libxml2 (without its "huge" option) refuses files of long
// path elements beyond about 10 MB, and reads those of short ones.
constexpr std::size_t kSegmentsPerPath = 1000;

// Screen right and screen up, as an axis (0 x, 1 y, 2 z) and a sign.
struct View {
    const char* id;
    const char* title;
    int rightAxis, rightSign, upAxis, upSign;
};
const View kViews[] = {
    {"front", "front (x to the right, y up)", 0, 1, 1, 1},
    {"side", "side (z to the left, y up)", 2, -1, 1, 1},
    {"top", "top (x to the right, z down)", 0, 1, 2, -1},
};

// Stroke widths in picture units: the picture is shown at half its units.
const char kStyle[] =
    "<style>\n"
    "path{fill:none;stroke-linecap:round}\n"
    ".mesh{stroke:#a9b1bd;stroke-width:1.2}\n"
    ".written{stroke:#e4572e;stroke-width:5}\n"
    ".dropped{stroke:#1f78d1;stroke-width:5}\n"
    "text{font-family:sans-serif;font-size:30px;fill:#222}\n"
    ".frame{fill:#fbfbfc;stroke:#d5d9df;stroke-width:2}\n"
    "</style>\n";

const char* ClassOf(LegendLine::Key key) {
    switch (key) {
    case LegendLine::Key::Mesh: return "mesh";
    case LegendLine::Key::Written: return "written";
    case LegendLine::Key::Dropped: return "dropped";
    default: return nullptr;
    }
}

// Where the mesh's points fall in one view.
class Projection {
public:
    Projection(const PreviewMesh& mesh, const View& view) : mesh_(mesh), view_(view) {
        if (mesh.lo[0] > mesh.hi[0]) return;  // no point at all
        const int axes[2] = {view.rightAxis, view.upAxis}, signs[2] = {view.rightSign, view.upSign};
        double extent = 0;
        for (int k = 0; k < 2; ++k) {
            extent = std::max(extent, mesh.hi[axes[k]] - mesh.lo[axes[k]]);
            centre_[k] = signs[k] * (mesh.lo[axes[k]] + mesh.hi[axes[k]]) / 2;
        }
        scale_ = extent > 0 ? (kPanel - 2 * kInset) / extent : 0;
    }

    // The picture point of vertex `index`, or false when the mesh lacks it.
    bool point(std::int32_t index, int& x, int& y) const {
        double p[2];
        if (!project(index, p)) return false;
        x = Clamp(kPanel / 2.0 + (p[0] - centre_[0]) * scale_);
        y = Clamp(kPanel / 2.0 - (p[1] - centre_[1]) * scale_);
        return true;
    }

private:
    static int Clamp(double value) { return static_cast<int>(std::lround(std::min(std::max(value, 0.0), double(kPanel)))); }

    bool project(std::int64_t index, double point[2]) const {
        if (!mesh_.has(index)) return false;
        const float* p = &mesh_.positions[3 * static_cast<std::size_t>(index)];
        point[0] = view_.rightSign * static_cast<double>(p[view_.rightAxis]);
        point[1] = view_.upSign * static_cast<double>(p[view_.upAxis]);
        return true;
    }

    const PreviewMesh& mesh_;
    const View& view_;
    double scale_ = 0;
    double centre_[2] = {0, 0};
};

// A segment between two picture points, as one number: the smaller point
// first, 10 bits a coordinate.
using Segment = std::uint64_t;

// The edges' segments in one view, each once. An edge seen end-on (or
// shorter than a picture unit) is a point: kept as a dot for crease edges,
// dropped for mesh edges, whose neighbours draw it.
std::vector<Segment> Segments(const Projection& projection, const std::vector<creases::Edge>& edges, bool keepPoints) {
    std::vector<Segment> segments;
    segments.reserve(edges.size());
    for (creases::Edge e : edges) {
        int x1, y1, x2, y2;
        if (!projection.point(creases::EdgeFirst(e), x1, y1) || !projection.point(creases::EdgeSecond(e), x2, y2))
            continue;
        if (!keepPoints && x1 == x2 && y1 == y2) continue;
        if (std::make_pair(x2, y2) < std::make_pair(x1, y1)) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        segments.push_back(Segment(x1) << 30 | Segment(y1) << 20 | Segment(x2) << 10 | Segment(y2));
    }
    std::sort(segments.begin(), segments.end());
    segments.erase(std::unique(segments.begin(), segments.end()), segments.end());
    return segments;
}

class SvgWriter {
public:
    explicit SvgWriter(textio::FileReplacer& out) : out_(out) {}

    void text(std::string_view s) { out_.write(s); }
    void number(long long value) {
        char digits[24];
        auto result = std::to_chars(digits, digits + sizeof digits, value);
        out_.write(digits, static_cast<std::size_t>(result.ptr - digits));
    }

    // "M x y l dx dy" for each segment, in paths of a bounded length.
    void paths(const char* cls, const std::vector<Segment>& segments) {
        for (std::size_t first = 0; first < segments.size(); first += kSegmentsPerPath) {
            text("<path class=\"");
            text(cls);
            text("\" d=\"");
            std::size_t last = std::min(segments.size(), first + kSegmentsPerPath);
            for (std::size_t i = first; i < last; ++i) {
                const Segment s = segments[i];
                const long long x1 = s >> 30 & 1023, y1 = s >> 20 & 1023, x2 = s >> 10 & 1023, y2 = s & 1023;
                text("M");
                number(x1);
                text(" ");
                number(y1);
                text("l");
                number(x2 - x1);
                text(" ");
                number(y2 - y1);
            }
            text("\"/>\n");
        }
    }

private:
    textio::FileReplacer& out_;
};


}  // namespace

bool WriteSvgPreview(const char* path, const PreviewMesh& mesh, const std::vector<creases::Edge>& written,
                     const std::vector<creases::Edge>& dropped, std::vector<LegendLine> legend) {
    std::size_t missing = 0;
    for (const std::vector<creases::Edge>* edges : {&written, &dropped})
        for (creases::Edge e : *edges)
            if (!mesh.has(creases::EdgeFirst(e)) || !mesh.has(creases::EdgeSecond(e))) ++missing;
    if (missing > 0)
        legend.push_back({LegendLine::Key::None, Plural(missing, "crease edge names", "crease edges name") +
                                                     " vertices that the mesh lacks, and cannot be drawn"});

    textio::FileReplacer out;
    if (!out.open(path)) return false;
    SvgWriter svg(out);
    const int height = kTitle + kPanel + kMargin + static_cast<int>(legend.size()) * kLegendLine + kMargin;
    svg.text("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"");
    svg.number(kWidth / 2);
    svg.text("\" height=\"");
    svg.number(height / 2);
    svg.text("\" viewBox=\"0 0 ");
    svg.number(kWidth);
    svg.text(" ");
    svg.number(height);
    svg.text("\">\n");
    svg.text(kStyle);
    svg.text("<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n");

    for (int v = 0; v < 3; ++v) {
        const View& view = kViews[v];
        const Projection projection(mesh, view);
        svg.text("<g id=\"");
        svg.text(view.id);
        svg.text("\" transform=\"translate(");
        svg.number(kMargin + v * (kPanel + kMargin));
        svg.text(" ");
        svg.number(kTitle);
        svg.text(")\">\n<text x=\"0\" y=\"-16\">");
        svg.text(view.title);
        svg.text("</text>\n<rect class=\"frame\" width=\"");
        svg.number(kPanel);
        svg.text("\" height=\"");
        svg.number(kPanel);
        svg.text("\"/>\n");
        // Light first: the crease edges are drawn over the mesh.
        svg.paths("mesh", Segments(projection, mesh.edges, false));
        svg.paths("written", Segments(projection, written, true));
        svg.paths("dropped", Segments(projection, dropped, true));
        svg.text("</g>\n");
    }

    svg.text("<g id=\"legend\">\n");
    int y = kTitle + kPanel + kMargin;
    for (const LegendLine& line : legend) {
        int x = kMargin;
        if (const char* cls = ClassOf(line.key)) {
            svg.text("<path class=\"");
            svg.text(cls);
            svg.text("\" d=\"M");
            svg.number(x);
            svg.text(" ");
            svg.number(y - 10);
            svg.text("h50\"/>\n");
            x += 70;
        }
        svg.text("<text x=\"");
        svg.number(x);
        svg.text("\" y=\"");
        svg.number(y);
        svg.text("\">");
        svg.text(XmlText(line.text));
        svg.text("</text>\n");
        y += kLegendLine;
    }
    svg.text("</g>\n</svg>\n");
    return out.commit();
}

}  // namespace cli
