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

// Spreads a number's bits evenly, so that "hash at most a bound" picks an
// even sample whatever the numbering.
std::uint64_t Mix(std::uint64_t x) {
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
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

// The sample: the edges of every face whose number's hash is at most
// `bound_`, halving the bound whenever too many are kept. The test comes
// before the face line is read, so that a large mesh costs little more than
// its line ends.
class FaceSample {
public:
    explicit FaceSample(std::size_t limit) : limit_(limit) {}

    bool wants(std::uint64_t face) {
        hash_ = Mix(face);
        return hash_ <= bound_;
    }

    void add(std::int32_t a, std::int32_t b) {
        if (a == b) return;
        kept_.push_back({hash_, creases::MakeEdge(a, b)});
        // Shared edges come twice: the kept ones are thinned to half the
        // room, and counted without repeats only at the end.
        if (kept_.size() > 4 * limit_ + 64) thin(2 * limit_);
    }

    void finish(PreviewMesh& mesh) {
        for (;;) {
            mesh.edges.clear();
            for (const Kept& k : kept_) mesh.edges.push_back(k.edge);
            std::sort(mesh.edges.begin(), mesh.edges.end());
            mesh.edges.erase(std::unique(mesh.edges.begin(), mesh.edges.end()), mesh.edges.end());
            if (mesh.edges.size() <= limit_) break;
            thin(kept_.size() - 1);
        }
        mesh.sampled = bound_ != std::numeric_limits<std::uint64_t>::max();
    }

private:
    struct Kept {
        std::uint64_t hash;
        creases::Edge edge;
    };

    // Halves the bound until at most `room` edges are kept.
    void thin(std::size_t room) {
        while (kept_.size() > room) {
            bound_ >>= 1;
            kept_.erase(std::remove_if(kept_.begin(), kept_.end(), [this](const Kept& k) { return k.hash > bound_; }),
                        kept_.end());
        }
    }

    std::size_t limit_;
    std::uint64_t bound_ = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t hash_ = 0;  // of the face being added
    std::vector<Kept> kept_;
};

}  // namespace

bool ReadPreviewMesh(const char* path, std::size_t edgeLimit, std::size_t vertexLines, PreviewMesh& mesh) {
    textio::TextReader obj;
    if (!obj.open(path)) return false;
    mesh.positions.reserve(3 * vertexLines);
    FaceSample sample(edgeLimit);
    std::string_view line;
    while (obj.next(line)) {
        if (line.size() >= 2 && line[0] == 'v' && line[1] == ' ') {
            const char* p = line.data() + 2;
            const char* end = line.data() + line.size();
            for (int axis = 0; axis < 3; ++axis) mesh.positions.push_back(ReadCoordinate(p, end));
        } else if (!line.empty() && line[0] == 'f') {
            if (sample.wants(mesh.faces++))
                creases::VisitFaceEdges(line, static_cast<std::int64_t>(mesh.vertices()),
                                        [&sample](std::int32_t a, std::int32_t b) { sample.add(a, b); });
        }
    }
    if (obj.failed()) return false;
    sample.finish(mesh);
    for (std::size_t v = 0; v < mesh.vertices(); ++v) {
        if (!mesh.has(static_cast<std::int64_t>(v))) continue;
        for (int axis = 0; axis < 3; ++axis) {
            mesh.lo[axis] = std::min(mesh.lo[axis], static_cast<double>(mesh.positions[3 * v + axis]));
            mesh.hi[axis] = std::max(mesh.hi[axis], static_cast<double>(mesh.positions[3 * v + axis]));
        }
    }
    return true;
}

}  // namespace cli
