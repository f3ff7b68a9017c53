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
// The scene is copied to the replacement file while it is read (or, for a
// large one, ahead by a second thread, and read after), and the new
// statement, known only at the end, is spliced in at the place recorded.
#include "SceneCreases.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "Integers.h"
#include "SideWork.h"
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

// The first c in [p, end), or end.
const char* FindByte(const char* p, const char* end, char c) {
    const void* found = std::memchr(p, c, static_cast<std::size_t>(end - p));
    return found ? static_cast<const char*>(found) : end;
}

// The first "setAttr" in [p, end), or end. Found by its "A", which the
// numbers that make up most of a scene lack.
const char* FindSetAttr(const char* p, const char* end) {
    const std::size_t before = 3;  // "set"
    if (end - p < static_cast<std::ptrdiff_t>(kSetAttr.size())) return end;
    for (const char* a = p + before; (a = FindByte(a, end, 'A')) != end; ++a)
        if (static_cast<std::size_t>(end - a) >= kSetAttr.size() - before &&
            std::string_view(a - before, kSetAttr.size()) == kSetAttr)
            return a - before;
    return end;
}

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

// Edge numbers in ascending order, each as its distance from the one before
// in seven-bit groups: mostly a byte or two a number, where a crease edge of
// a large mesh is cheap otherwise.
class AscendingNumbers {
public:
    void clear() {
        bytes_.clear();
        count_ = 0;
        last_ = 0;
    }

    void push(std::int64_t number) {
        std::uint64_t step = static_cast<std::uint64_t>(number - last_);
        last_ = number;
        ++count_;
        for (; step >= 0x80; step >>= 7) bytes_.push_back(static_cast<unsigned char>(step | 0x80));
        bytes_.push_back(static_cast<unsigned char>(step));
    }

    std::size_t size() const { return count_; }

    template <class Visit>
    void forEach(Visit&& visit) const {
        std::int64_t number = 0;
        for (std::size_t i = 0; i < bytes_.size();) {
            std::uint64_t step = 0;
            for (unsigned shift = 0;; shift += 7) {
                const unsigned char byte = bytes_[i++];
                step |= std::uint64_t(byte & 0x7F) << shift;
                if (!(byte & 0x80)) break;
            }
            number += static_cast<std::int64_t>(step);
            visit(number);
        }
    }

private:
    std::vector<unsigned char> bytes_;
    std::size_t count_ = 0;
    std::int64_t last_ = 0;
};

enum class BlockState { Continues, EndedAtSemicolon, EndedAtText };

// The scene's edge number of every crease edge, for the edge list being read.
// Edges are numbered in file order, so the numbers of the crease edges found
// come in ascending order too.
class EdgeNumbers {
public:
    explicit EdgeNumbers(const EdgeSet& creases)
        : creases_(creases), listed_((creases.slotCount() + 63) / 64, 0), slotsKept_(creases.slotCount() / 256 + 16) {
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
        if (numbers_.size() > found_.size()) {
            std::fill(listed_.begin(), listed_.end(), 0);
        } else {
            for (std::size_t slot : found_) listed_[slot / 64] = 0;
        }
        found_.clear();
        numbers_.clear();
        next_ = 0;
        pending_ = 0;
    }

    // A new block: the numbers of an unfinished triple are dropped.
    void startBlock() { pending_ = 0; }

    // Reads edge block numbers from p on, to the end of the line at most;
    // every third one completes an edge. (The hot loop of reading a scene:
    // the triple being read is kept in locals.)
    BlockState read(const char*& p, const char* end) {
        int pending = pending_;
        std::int32_t first = vertex_[0], second = vertex_[1];
        BlockState state;
        for (;;) {
            // Mostly whole triples as Maya writes them, short numbers after
            // one blank each and a one-digit flag: read at once.
            if (pending == 0) {
                const char* q = p;
                if (q != end && *q == ' ') ++q;
                if (ReadShortInt(q, end, first) && end - q >= 4 && q[0] == ' ' &&
                    (++q, ReadShortInt(q, end, second)) && end - q >= 3 && q[0] == ' ' && IsDigit(q[1]) &&
                    !IsDigit(q[2])) {
                    p = q + 2;
                    const Edge e = MakeEdge(first, second);
                    const std::size_t bit = filterBit(e);
                    if (filter_[bit / 64] >> (bit % 64) & 1) found(e);
                    ++next_;
                    continue;
                }
            }
            // Anything else a number at a time.
            if (p != end && *p == ' ') ++p;
            std::int32_t value;
            if (!ReadShortInt(p, end, value)) {
                while (p != end && IsSpace(*p)) ++p;
                if (p == end) {
                    state = BlockState::Continues;
                    break;
                }
                if (*p == ';') {
                    state = BlockState::EndedAtSemicolon;
                    break;
                }
                if (!ReadInt(p, end, value)) {
                    state = BlockState::EndedAtText;
                    break;
                }
            }
            if (pending == 0) {
                first = value;
                pending = 1;
            } else if (pending == 1) {
                second = value;
                pending = 2;
            } else {
                pending = 0;
                const Edge e = MakeEdge(first, second);
                const std::size_t bit = filterBit(e);
                if (filter_[bit / 64] >> (bit % 64) & 1) found(e);
                ++next_;
            }
        }
        pending_ = pending;
        vertex_[0] = first;
        vertex_[1] = second;
        return state;
    }

    // The numbers of the crease edges listed, ascending.
    const AscendingNumbers& numbers() const { return numbers_; }

    // Edges numbered since the last restart.
    std::int64_t count() const { return next_; }
    bool listed(Edge e) const {
        std::size_t slot = creases_.find(e);
        return slot != EdgeSet::npos && (listed_[slot / 64] >> (slot % 64) & 1);
    }

private:
    std::size_t filterBit(Edge e) const {
        return static_cast<std::size_t>((e * 0xD6E8FEB86659FD93ull) >> filterShift_);
    }

    void found(Edge e) {
        const std::size_t slot = creases_.find(e);
        if (slot == EdgeSet::npos || (listed_[slot / 64] >> (slot % 64) & 1)) return;
        listed_[slot / 64] |= std::uint64_t(1) << (slot % 64);
        numbers_.push(next_);
        // The slots to clear at the next restart, while they are few; beyond
        // that, clearing every bit costs less than keeping them.
        if (found_.size() < slotsKept_) found_.push_back(slot);
    }

    const EdgeSet& creases_;
    // A bit for every crease edge's hash: most scene edges are no crease edge,
    // and these bits stay in the cache where the set itself does not.
    std::vector<std::uint64_t> filter_;
    unsigned filterShift_;
    std::vector<std::uint64_t> listed_;  // a bit by slot of creases_: numbered since the last restart
    std::vector<std::size_t> found_;     // those slots, while no more than slotsKept_
    std::size_t slotsKept_;
    AscendingNumbers numbers_;
    std::int64_t next_ = 0;
    std::int32_t vertex_[2] = {0, 0};
    int pending_ = 0;                   // numbers of the current triple read so far
};


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
            BlockState state = numbers_.read(p, lineEnd);
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
                if (numbers_.read(p, line.data() + line.size()) != BlockState::Continues)
                    inBlock_ = false;
            }
        }
    }

    // The lines of a run of whole lines written to the output from `at` on,
    // as they are (see TextReader::nextLines). Without a report only the
    // lines that may change something are looked at: those of an edge block
    // or a crease statement being read, and those that hold "setAttr" or "["
    // (the marks of every line add() acts on). The bulk of a scene
    // (positions, face lists) is passed over with a search for those marks.
    void addLines(std::string_view run, std::uint64_t at) {
        const char* p = run.data();
        const char* const end = p + run.size();
        const char* setAttr = nullptr;  // the next "setAttr" at or after p, once searched
        const char* bracket = nullptr;  // the next "[", likewise
        while (p != end) {
            if (!open_ && !inBlock_ && !reporting_) {
                if (!setAttr || setAttr < p) setAttr = FindSetAttr(p, end);
                if (!bracket || bracket < p) bracket = FindByte(p, end, '[');
                const char* mark = std::min(setAttr, bracket);
                if (mark == end) return;
                while (mark != p && mark[-1] != '\n') --mark;
                p = mark;
            }
            const char* lf = FindByte(p, end, '\n');
            const std::uint64_t start = at + static_cast<std::uint64_t>(p - run.data());
            // A last line without LF gets one in the output, as every line does.
            add(std::string_view(p, static_cast<std::size_t>(lf - p)), start, start + static_cast<std::uint64_t>(lf - p) + 1);
            p = lf == end ? end : lf + 1;
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

    const AscendingNumbers& creaseNumbers() const { return numbers_.numbers(); }

    // What the scan found, for a report.
    void fill(CreaseReport& report, const EdgeSet& creases) const {
        report.sceneRead = true;
        report.meshNode = listNode_.name;
        report.sceneVertices = listNode_.vertices;
        report.sceneEdges = numbers_.count();
        report.written = numbers_.numbers().size();
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

std::size_t DecimalDigits(std::uint64_t n) {
    std::size_t digits = 1;
    for (; n >= 10; n /= 10) ++digits;
    return digits;
}

void WriteDecimal(textio::FileReplacer& out, std::uint64_t n) {
    char text[24];
    char* p = text + sizeof text;
    do {
        *--p = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    out.write(p, static_cast<std::size_t>(text + sizeof text - p));
}

// The new crease statement, written as it is made (it has a dozen bytes for
// every crease edge found): the head with the count, and the list line.
void WriteCreaseStatement(textio::FileReplacer& out, const AscendingNumbers& numbers) {
    out.write(kStatementHead);
    WriteDecimal(out, numbers.size());
    out.newline();
    out.write(" ", 1);
    numbers.forEach([&out](std::int64_t number) {
        WriteDecimal(out, static_cast<std::uint64_t>(number));
        out.write(kCreaseValue);
    });
    out.write(" ;", 2);
    out.newline();
}

std::uint64_t CreaseStatementSize(const AscendingNumbers& numbers) {
    std::uint64_t size = kStatementHead.size() + DecimalDigits(numbers.size()) + 2 * textio::kNewline.size() + 3;
    numbers.forEach([&size](std::int64_t number) {
        size += DecimalDigits(static_cast<std::uint64_t>(number)) + kCreaseValue.size();
    });
    return size;
}

// Whether a scene's bytes can be copied to its replacement ahead: under the
// POSIX rules every line is written back as it was read; the file must be a
// regular one (read twice: by the copy and by the scan), and large enough for
// a second thread to pay.
bool CanCopyAhead(const char* path, std::uint64_t from) {
#ifdef _WIN32
    (void)path;
    (void)from;
    return false;
#else
    struct stat st;
    return ::stat(path, &st) == 0 && S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) >= from;
#endif
}

// A dry run: the scan alone, offsets counted as if the lines were written.
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

// The end of a rewrite whose scene is in `out` and scanned: the report, the
// statement spliced in, the replacement made the scene's.
float SpliceAndCommit(const SceneScan& scan, textio::FileReplacer& out, const EdgeSet& creaseEdges, int groupCount,
                      CreaseReport* report) {
    if (report) scan.fill(*report, creaseEdges);
    Span place = scan.place();
    if (!place.set) return PELLANDO_NO_EDGE_LIST;
    if (report && report->proceed && !report->proceed(*report)) {
        report->stopped = true;
        return static_cast<float>(groupCount);  // the replacement is abandoned: the scene stays
    }
    const AscendingNumbers& numbers = scan.creaseNumbers();
    out.splice(place.from, place.to, CreaseStatementSize(numbers), [&] { WriteCreaseStatement(out, numbers); });
    if (!out.commit()) return PELLANDO_CANNOT_WRITE;
    return static_cast<float>(groupCount);
}

}  // namespace

SceneRewrite::SceneRewrite(const char* scenePath, std::uint64_t copyAheadFrom)
    : path_(scenePath), copyAhead_(CanCopyAhead(scenePath, copyAheadFrom)) {}

void SceneRewrite::copy(const SideWork* side) {
    if (!copyAhead_ || copied_) return;
    copied_ = true;
    if (!out_.open(path_.c_str())) return;
    outOpened_ = true;
    copyRead_ = out_.appendFile(path_.c_str(), [side] { return !side || !side->stopping(); });
}

float SceneRewrite::finish(const EdgeSet& creaseEdges, int groupCount, CreaseReport* report) {
    if (report && report->dryRun) {
        textio::TextReader scene;
        if (!scene.open(path_.c_str())) return PELLANDO_FAILED;
        return ScanSceneCreases(scene, creaseEdges, groupCount, *report);
    }
    if (!copyAhead_) return finishInOnePass(creaseEdges, groupCount, report);
    // The copy has the scene's bytes where they are in the file (a last line
    // without LF gets one below), so a line's place in the replacement is its
    // place in the scene.
    textio::TextReader scene;
    if (!scene.open(path_.c_str())) return PELLANDO_FAILED;
    copy();
    if (!outOpened_) return PELLANDO_CANNOT_WRITE;
    SceneScan scan(creaseEdges, report != nullptr);
    std::uint64_t at = 0;
    bool lastLineEnded = true;
    std::string_view lines;
    while (scene.nextLines(lines)) {
        scan.addLines(lines, at);
        at += lines.size() + (lines.back() != '\n');
        lastLineEnded = lines.back() == '\n';
    }
    scene.close();
    if (scene.failed() || !copyRead_) return PELLANDO_FAILED;
    if (!lastLineEnded) out_.newline();  // as every line written has one
    if (!out_.good()) return PELLANDO_CANNOT_WRITE;
    return SpliceAndCommit(scan, out_, creaseEdges, groupCount, report);
}

float SceneRewrite::finishInOnePass(const EdgeSet& creaseEdges, int groupCount, CreaseReport* report) {
    textio::TextReader scene;
    if (!scene.open(path_.c_str())) return PELLANDO_FAILED;
    textio::FileReplacer& out = out_;
    out.open(path_.c_str());
    SceneScan scan(creaseEdges, report != nullptr);
    if (textio::kWindowsTextRules) {
        // Every line is written back with the platform's line end, whatever
        // it had.
        std::string_view line;
        while (out.good() && scene.next(line)) {
            std::uint64_t start = out.offset();
            out.line(line);
            scan.add(line, start, out.offset());
        }
    } else {
        // Every line is written back as it was: the scene goes through in
        // whole runs of lines.
        std::string_view lines;
        while (out.good() && scene.nextLines(lines)) {
            scan.addLines(lines, out.offset());
            out.write(lines);
            if (lines.back() != '\n') out.newline();  // the last line
        }
    }
    if (scene.failed()) return PELLANDO_FAILED;
    scene.close();
    if (!out.good()) return PELLANDO_CANNOT_WRITE;
    return SpliceAndCommit(scan, out, creaseEdges, groupCount, report);
}

float WriteSceneCreases(const char* scenePath, const EdgeSet& creaseEdges, int groupCount, CreaseReport* report) {
    return SceneRewrite(scenePath, UINT64_MAX).finish(creaseEdges, groupCount, report);
}

}  // namespace creases
