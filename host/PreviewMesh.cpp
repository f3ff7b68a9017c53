#include "PreviewMesh.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "leanOBJ/FaceEdges.h"
#include "textio/TextReader.h"

namespace cli {

namespace {

// Spreads an edge's bits evenly, so that "hash below a bound" picks an even
// sample of the edges whatever their numbering.
std::uint64_t Mix(creases::Edge e) {
    e = (e ^ (e >> 30)) * 0xBF58476D1CE4E5B9ull;
    e = (e ^ (e >> 27)) * 0x94D049BB133111EBull;
    return e ^ (e >> 31);
}

float ReadCoordinate(const char*& p, const char* end) {
    while (p != end && (*p == ' ' || *p == '\t')) ++p;
    if (p != end && *p == '+') ++p;
    double value = 0;
    auto [next, error] = std::from_chars(p, end, value);
    if (error != std::errc()) return std::numeric_limits<float>::quiet_NaN();
    p = next;
    return static_cast<float>(value);
}

// The sample: every edge whose hash lies at or below `bound_`, halving the
// bound whenever more than the limit are kept.
class EdgeSample {
public:
    explicit EdgeSample(std::size_t limit) : limit_(limit) {}

    void add(std::int32_t a, std::int32_t b) {
        if (a == b) return;
        creases::Edge e = creases::MakeEdge(a, b);
        if (Mix(e) > bound_) return;
        edges_.push_back(e);
        // Shared edges come twice: thin out only once duplicates are gone.
        if (edges_.size() >= 4 * limit_ + 64) shrink();
    }

    void finish(PreviewMesh& mesh) {
        shrink();
        mesh.edges.swap(edges_);
        mesh.sampled = bound_ != std::numeric_limits<std::uint64_t>::max();
    }

private:
    void shrink() {
        std::sort(edges_.begin(), edges_.end());
        edges_.erase(std::unique(edges_.begin(), edges_.end()), edges_.end());
        while (edges_.size() > limit_) {
            bound_ >>= 1;
            edges_.erase(std::remove_if(edges_.begin(), edges_.end(), [this](creases::Edge e) { return Mix(e) > bound_; }),
                         edges_.end());
        }
    }

    std::size_t limit_;
    std::uint64_t bound_ = std::numeric_limits<std::uint64_t>::max();
    std::vector<creases::Edge> edges_;
};

}  // namespace

bool ReadPreviewMesh(const char* path, std::size_t edgeLimit, PreviewMesh& mesh) {
    textio::TextReader obj;
    if (!obj.open(path)) return false;
    EdgeSample sample(edgeLimit);
    std::string_view line;
    while (obj.next(line)) {
        if (line.size() >= 2 && line[0] == 'v' && line[1] == ' ') {
            const char* p = line.data() + 2;
            const char* end = line.data() + line.size();
            for (int axis = 0; axis < 3; ++axis) mesh.positions.push_back(ReadCoordinate(p, end));
        } else if (!line.empty() && line[0] == 'f') {
            ++mesh.faces;
            creases::VisitFaceEdges(line, static_cast<std::int64_t>(mesh.vertices()),
                                    [&sample](std::int32_t a, std::int32_t b) { sample.add(a, b); });
        }
    }
    if (obj.failed()) return false;
    sample.finish(mesh);
    return true;
}

}  // namespace cli
