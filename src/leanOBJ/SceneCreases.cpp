// How the scene is read.
//
// Edge lists. The last line holding both "setAttr -s" and ".ed" starts the
// mesh's edge list (without one, the file's first line does). From there on,
// every line holding ".ed[" starts an edge block whose numbers follow the
// attribute name's closing quote, run on over the following lines and end at
// the statement's ";" or at the first text that is no number (Maya wraps the
// triples over continuation lines, the first ones on the setAttr line). Each
// complete triple (vertex, vertex, flag) is one scene edge; edges are numbered
// from 0 across all blocks, and an edge listed twice, in either vertex order,
// keeps the number of its first listing.
//
// The crease statement replaced is the last one marked by two blanks and a
// tab before `setAttr ".cd"`, as older files of this library have it; without
// that marker, the last line after the edge list's start that begins, after
// blanks and tabs, with `setAttr ".cd"` (Maya's own, and this library's
// output). A statement runs from that line through the first line ending in
// ";", over continuation lines that hold only numbers, blanks and tabs; a
// line with anything else ends it before that line. A line of the edge list
// (edge count or edge block) never starts a crease statement. Without any
// crease statement the new one goes right after the last edge block.
//
// The scene is copied to the replacement file while it is read, and the new
// statement, known only at the end, is spliced in at the place recorded.
#include "SceneCreases.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "Integers.h"
#include "pellando.h"
#include "textio/FileReplacer.h"
#include "textio/TextReader.h"

namespace creases {

namespace {

constexpr std::string_view kEdgeCountFirst = "setAttr -s";
constexpr std::string_view kEdgeCountSecond = ".ed";
constexpr std::string_view kCreaseMarker = "  \tsetAttr \".cd\"";
constexpr std::string_view kCreaseAttribute = "setAttr \".cd\"";
constexpr std::string_view kEdgeBlock = ".ed[";
constexpr std::string_view kStatementHead = "  setAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge ";
constexpr std::string_view kCreaseValue = " 1000 ";

constexpr std::string_view kSetAttr = "setAttr";
constexpr std::string_view kCreateNode = "createNode ";
constexpr std::string_view kMeshType = "mesh ";

bool Contains(std::string_view line, std::string_view text) { return line.find(text) != std::string_view::npos; }

// Where ".ed[" starts in the line. Found by its "[", which lines of numbers
// lack, rather than by its ".", which they are full of.
std::size_t FindEdgeBlock(std::string_view line) {
    for (std::size_t at = line.find('[', 3); at != std::string_view::npos; at = line.find('[', at + 1))
        if (line.substr(at - 3, 3) == ".ed") return at - 3;
    return std::string_view::npos;
}

// True when the line's text ends in ";" (trailing blanks, tabs and a CR aside).
bool EndsStatement(std::string_view line) {
    std::size_t end = line.find_last_not_of(" \t\r");
    return end != std::string_view::npos && line[end] == ';';
}

// A line that can go on a statement: numbers, blanks, tabs and ";" only.
bool IsContinuation(std::string_view line) {
    return line.find_first_not_of("0123456789+-.eE \t;\r") == std::string_view::npos;
}

bool BeginsWithCreaseAttribute(std::string_view line) {
    std::size_t start = line.find_first_not_of(" \t");
    return start != std::string_view::npos && line.substr(start, kCreaseAttribute.size()) == kCreaseAttribute;
}

// The name in a createNode line's `-n "NAME"`; "" without one.
std::string NodeName(std::string_view line) {
    std::size_t at = line.find("-n \"");
    if (at == std::string_view::npos) return std::string();
    at += 4;
    std::size_t end = line.find('"', at);
    return std::string(line.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
}

// N of `setAttr -s N ".vt"` or `setAttr -s N ".vt[a:b]"`; -1 for any other line.
std::int64_t VertexCount(std::string_view line) {
    std::size_t at = line.find("\".vt");
    if (at == std::string_view::npos || at + 4 >= line.size() || (line[at + 4] != '"' && line[at + 4] != '['))
        return -1;
    std::size_t flag = line.find("-s ");
    if (flag == std::string_view::npos || flag > at) return -1;
    const char* p = line.data() + flag + 3;
    while (*p == ' ') ++p;
    std::int32_t count;
    return ReadInt(p, line.data() + at, count) && count >= 0 ? count : -1;
}

// The count after "Index_Data Edge" in a crease statement's first line; -1
// without one.
std::int64_t AnnouncedCount(std::string_view line) {
    constexpr std::string_view kCountAfter = "Index_Data Edge";
    std::size_t at = line.find(kCountAfter);
    if (at == std::string_view::npos) return -1;
    const char* p = line.data() + at + kCountAfter.size();
    const char* end = line.data() + line.size();
    while (p != end && IsSpace(*p)) ++p;
    std::int32_t count;
    return ReadInt(p, end, count) && count >= 0 ? count : -1;
}

// The scene's edge number of every crease edge, for the edge list being read.
class EdgeNumbers {
public:
    explicit EdgeNumbers(const EdgeSet& creases) : creases_(creases), number_(creases.slotCount(), -1) {
        // About 16 bits an edge, as a power of two of at least 2^16.
        std::size_t bits = std::size_t(1) << 16;
        filterShift_ = 48;
        while (bits < creases.size() * 16 && filterShift_ > 32) {
            bits <<= 1;
            --filterShift_;
        }
        filter_.assign(bits / 64, 0);
        creases.forEach([this](Edge e) {
            std::size_t bit = filterBit(e);
            filter_[bit / 64] |= std::uint64_t(1) << (bit % 64);
        });
    }

    // A new edge list: numbering starts over, nothing found yet.
    void restart() {
        for (std::size_t slot : found_) number_[slot] = -1;
        found_.clear();
        next_ = 0;
        pending_ = 0;
    }

    // A new block: the numbers of an unfinished triple are dropped.
    void startBlock() { pending_ = 0; }

    void add(std::int32_t value) {
        if (pending_ < 2) {
            vertex_[pending_++] = value;
            return;
        }
        pending_ = 0;
        const Edge e = MakeEdge(vertex_[0], vertex_[1]);
        std::size_t bit = filterBit(e);
        if (!(filter_[bit / 64] >> (bit % 64) & 1)) {
            ++next_;
            return;
        }
        std::size_t slot = creases_.find(e);
        if (slot != EdgeSet::npos && number_[slot] < 0) {
            number_[slot] = next_;
            found_.push_back(slot);
        }
        ++next_;
    }

    // Edges numbered since the last restart.
    std::int64_t count() const { return next_; }
    std::size_t foundCount() const { return found_.size(); }
    bool listed(Edge e) const {
        std::size_t slot = creases_.find(e);
        return slot != EdgeSet::npos && number_[slot] >= 0;
    }

    std::vector<std::int64_t> sorted() const {
        std::vector<std::int64_t> numbers;
        numbers.reserve(found_.size());
        for (std::size_t slot : found_) numbers.push_back(number_[slot]);
        std::sort(numbers.begin(), numbers.end());
        return numbers;
    }

private:
    std::size_t filterBit(Edge e) const {
        return static_cast<std::size_t>((e * 0xD6E8FEB86659FD93ull) >> filterShift_);
    }

    const EdgeSet& creases_;
    // A bit for every crease edge's hash: most scene edges are no crease edge,
    // and these bits stay in the cache where the set itself does not.
    std::vector<std::uint64_t> filter_;
    unsigned filterShift_;
    std::vector<std::int64_t> number_;  // by slot of creases_; -1: not listed yet
    std::vector<std::size_t> found_;    // slots numbered since the last restart
    std::int64_t next_ = 0;
    std::int32_t vertex_[2] = {0, 0};
    int pending_ = 0;                   // numbers of the current triple read so far
};

enum class BlockState { Continues, EndedAtSemicolon, EndedAtText };

// Reads edge block numbers from p on, to the end of the line at most.
BlockState ReadBlockNumbers(const char*& p, const char* end, EdgeNumbers& numbers) {
    for (;;) {
        while (p != end && IsSpace(*p)) ++p;
        if (p == end) return BlockState::Continues;
        if (*p == ';') return BlockState::EndedAtSemicolon;
        std::int32_t value;
        if (!ReadInt(p, end, value)) return BlockState::EndedAtText;
        numbers.add(value);
    }
}

// A place in the rewritten file, as byte offsets, and its lines (from 1).
struct Span {
    bool set = false;
    std::uint64_t from = 0, to = 0;
    std::uint64_t firstLine = 0, lastLine = 0;
    std::int64_t announced = -1;  // a crease statement's count, with a report
};

class SceneScan {
public:
    SceneScan(const EdgeSet& creases, bool reporting) : numbers_(creases), reporting_(reporting) {}

    // One line of the scene, written to the output at [start, end).
    void add(std::string_view line, std::uint64_t start, std::uint64_t end) {
        ++lines_;
        if (open_) {
            if (IsContinuation(line)) {
                open_->to = end;
                open_->lastLine = lines_;
                if (EndsStatement(line)) open_ = nullptr;
                return;
            }
            open_ = nullptr;
        }
        if (inBlock_) {
            const char* p = line.data();
            const char* lineEnd = p + line.size();
            while (p != lineEnd && IsSpace(*p)) ++p;
            const char* text = p;
            BlockState state = ReadBlockNumbers(p, lineEnd, numbers_);
            if (state != BlockState::EndedAtText || p != text) {
                lastBlockEnd_ = end;
                lastBlockLine_ = lines_;
            }
            if (state == BlockState::Continues) return;  // numbers only
            inBlock_ = false;
        }
        // Every literal but the edge block's holds "setAttr", which the bulk
        // of a scene (numbers, face lists) does not: one search rules them out.
        const bool setAttr = Contains(line, kSetAttr);
        const bool edgeCount = setAttr && Contains(line, kEdgeCountFirst) && Contains(line, kEdgeCountSecond);
        const std::size_t block = FindEdgeBlock(line);
        if (reporting_) watchNode(line, setAttr);
        if (edgeCount) {
            numbers_.restart();
            looseStatement_ = Span();
            lastBlockEnd_ = 0;
            lastBlockLine_ = 0;
            blockRead_ = false;
            if (reporting_) startList();
        }
        // A line of the edge list is never taken for the crease statement,
        // whatever else it holds: replacing it would cut edges out of the list.
        if (setAttr && !edgeCount && block == std::string_view::npos) {
            if (Contains(line, kCreaseMarker)) {
                startStatement(markedStatement_, line, start, end);
            } else if (BeginsWithCreaseAttribute(line)) {
                startStatement(looseStatement_, line, start, end);
            }
        }
        if (block != std::string_view::npos) {
            if (reporting_ && !listNode_.set) startList();
            numbers_.startBlock();
            inBlock_ = true;
            blockRead_ = true;
            lastBlockEnd_ = end;
            lastBlockLine_ = lines_;
            std::size_t quote = line.find('"', block + kEdgeBlock.size());
            if (quote != std::string_view::npos) {
                const char* p = line.data() + quote + 1;
                if (ReadBlockNumbers(p, line.data() + line.size(), numbers_) != BlockState::Continues)
                    inBlock_ = false;
            }
        }
    }

    // Where the new statement goes: over the old one, or after the last edge
    // block; unset when the scene has neither.
    Span place() const {
        if (markedStatement_.set) return markedStatement_;
        if (looseStatement_.set) return looseStatement_;
        Span insertion;
        insertion.set = blockRead_;
        insertion.from = insertion.to = lastBlockEnd_;
        insertion.firstLine = insertion.lastLine = lastBlockLine_;
        return insertion;
    }

    std::vector<std::int64_t> creaseNumbers() const { return numbers_.sorted(); }

    // What the scan found, for a report.
    void fill(CreaseReport& report, const EdgeSet& creases) const {
        report.sceneRead = true;
        report.meshNode = listNode_.name;
        report.sceneVertices = listNode_.vertices;
        report.sceneEdges = numbers_.count();
        report.written = numbers_.foundCount();
        const Span statement = place();
        report.placement = !statement.set ? CreaseReport::Placement::None
                           : markedStatement_.set || looseStatement_.set ? CreaseReport::Placement::Replaced
                                                                         : CreaseReport::Placement::Inserted;
        report.firstLine = statement.firstLine;
        report.lastLine = statement.lastLine;
        report.oldEdges = statement.announced;
        if (report.keepEdges)
            creases.forEach([&](Edge e) { (numbers_.listed(e) ? report.writtenEdges : report.droppedEdges).push_back(e); });
    }

private:
    void startStatement(Span& statement, std::string_view line, std::uint64_t start, std::uint64_t end) {
        statement.set = true;
        statement.from = start;
        statement.to = end;
        statement.firstLine = statement.lastLine = lines_;
        if (reporting_) statement.announced = AnnouncedCount(line);
        open_ = EndsStatement(line) ? nullptr : &statement;
    }

    // The mesh node a line belongs to: from its `createNode mesh` line to
    // the next createNode line.
    struct Node {
        bool set = false;
        std::string name;
        std::int64_t vertices = -1;
        std::uint64_t serial = 0;
    };

    void watchNode(std::string_view line, bool setAttr) {
        if (line.substr(0, kCreateNode.size()) == kCreateNode) {
            node_ = Node();
            node_.serial = ++nodes_;
            if (line.substr(kCreateNode.size(), kMeshType.size()) == kMeshType) node_.name = NodeName(line);
            node_.set = true;
            return;
        }
        if (!setAttr) return;
        std::int64_t vertices = VertexCount(line);
        if (vertices < 0) return;
        node_.vertices = vertices;
        if (listNode_.set && listNode_.serial == node_.serial) listNode_.vertices = vertices;
    }

    // The edge list now being read belongs to the node being read.
    void startList() {
        listNode_ = node_;
        listNode_.set = true;
    }

    EdgeNumbers numbers_;
    bool reporting_;
    std::uint64_t lines_ = 0;  // lines read so far
    bool inBlock_ = false;
    bool blockRead_ = false;
    std::uint64_t lastBlockEnd_ = 0;
    std::uint64_t lastBlockLine_ = 0;
    Span markedStatement_;
    Span looseStatement_;
    Span* open_ = nullptr;  // the statement whose continuation lines may follow
    Node node_;             // with a report: the node being read
    Node listNode_;         // and the node of the edge list
    std::uint64_t nodes_ = 0;
};

std::string CreaseStatement(const std::vector<std::int64_t>& numbers) {
    std::string text(kStatementHead);
    text += std::to_string(numbers.size());
    text += textio::kNewline;
    text += ' ';
    for (std::int64_t number : numbers) {
        text += std::to_string(number);
        text += kCreaseValue;
    }
    text += " ;";
    text += textio::kNewline;
    return text;
}

// A dry run: the scan of WriteSceneCreases, offsets counted as if written.
float ScanSceneCreases(textio::TextReader& scene, const EdgeSet& creaseEdges, int groupCount,
                       CreaseReport& report) {
    SceneScan scan(creaseEdges, true);
    std::uint64_t offset = 0;
    std::string_view line;
    while (scene.next(line)) {
        std::uint64_t start = offset;
        offset += line.size() + textio::kNewline.size();
        scan.add(line, start, offset);
    }
    if (scene.failed()) return PELLANDO_FAILED;
    scan.fill(report, creaseEdges);
    return scan.place().set ? static_cast<float>(groupCount) : static_cast<float>(PELLANDO_NO_EDGE_LIST);
}

}  // namespace

float WriteSceneCreases(const char* scenePath, const EdgeSet& creaseEdges, int groupCount, CreaseReport* report) {
    textio::TextReader scene;
    if (!scene.open(scenePath)) return PELLANDO_FAILED;
    if (report && report->dryRun) return ScanSceneCreases(scene, creaseEdges, groupCount, *report);
    textio::FileReplacer out;
    out.open(scenePath);
    SceneScan scan(creaseEdges, report != nullptr);
    std::string_view line;
    while (out.good() && scene.next(line)) {
        std::uint64_t start = out.offset();
        out.line(line);
        scan.add(line, start, out.offset());
    }
    if (scene.failed()) return PELLANDO_FAILED;
    scene.close();
    if (!out.good()) return PELLANDO_CANNOT_WRITE;
    if (report) scan.fill(*report, creaseEdges);
    Span place = scan.place();
    if (!place.set) return PELLANDO_NO_EDGE_LIST;
    if (report && report->proceed && !report->proceed(*report)) {
        report->stopped = true;
        return static_cast<float>(groupCount);  // the replacement is abandoned: the scene stays
    }
    out.splice(place.from, place.to, CreaseStatement(scan.creaseNumbers()));
    if (!out.commit()) return PELLANDO_CANNOT_WRITE;
    return static_cast<float>(groupCount);
}

}  // namespace creases
