// The first half of a crease transfer: the edges where the groups of an OBJ
// mesh meet, and the open border of the mesh.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "EdgeSet.h"

namespace textio {
class TextReader;
}

namespace creases {

class SideWork;

// At most this many distinct group lines are numbered.
constexpr int kMaxGroups = 8191;

// Meshes from this size on may be read in two parts at once.
constexpr std::uint64_t kSplitFrom = 8 << 20;

struct GroupBoundaries {
    float status = 0;     // PELLANDO_OK, PELLANDO_FAILED or PELLANDO_TOO_MANY_GROUPS
    int groupCount = 0;   // distinct group lines read
    std::int64_t vertexLines = 0;  // "v" + blank lines read
    EdgeSet edges;        // the crease edges: every group's boundary, merged
};

// Reads the OBJ file at `objPath`. A line whose first byte is `groupChar`
// starts (or returns to) the group named by its whole text; faces read before
// the first group line belong to the first group. Every face toggles its
// edges in its group's edge set, so each group keeps the edges its faces use
// an odd number of times: where it meets another group, and the open border.
// Answers PELLANDO_FAILED when the file cannot be opened or read, and
// PELLANDO_TOO_MANY_GROUPS at the first new group line beyond kMaxGroups.
GroupBoundaries FindGroupBoundaries(const char* objPath, char groupChar);

// What reading a stretch of the mesh file gives: its groups, numbered in the
// order of their first lines, and each group's edge set.
class MeshPart {
public:
    enum class End {
        Read,           // to the end of the stretch
        Failed,         // the file could not be read
        TooManyGroups,  // a group line beyond kMaxGroups
        Relative,       // (a later part) a face with a relative reference: the vertex lines before the part
                        // are not known, so it is left, with the rest, to the part before
        Stopped,        // asked to stop
    };

    // The first part's faces before any group line belong to group 0, the
    // first group's number; a later part's go to slot 0, the group in force
    // where the part begins, known once the part before is read.
    MeshPart(char groupChar, bool first);

    // Asked for each run of lines [from, to) before it is read: answers where
    // this part may read to, `to` or less (where another part begins).
    using Claim = std::function<std::uint64_t(std::uint64_t from, std::uint64_t to)>;

    // Reads the stretch `reader` was opened on, which begins `at` bytes into
    // the file, to its end or a stop. With `side`, stops when it is stopping;
    // with `claim`, where it answers.
    End read(textio::TextReader& reader, std::uint64_t at, const SideWork* side = nullptr, const Claim& claim = nullptr);

    // Where a Relative end left the file: the face line that was not read.
    std::uint64_t stoppedAt() const { return stoppedAt_; }

    // Distinct group lines and vertex lines ("v" and a blank) read.
    int groups() const { return groups_; }
    std::int64_t vertexLines() const { return vertexLines_; }

    // Takes in a later part read to its end or stop, as if this part had
    // read on: its groups are numbered after this part's, its edges toggled
    // into the same groups' sets. TooManyGroups when the groups together are
    // too many.
    End absorb(MeshPart& later);

    // The crease edges: every numbered group's edge set, merged.
    GroupBoundaries merge();

private:
    char groupChar_;
    bool first_;
    std::unordered_map<std::string, int> slots_;  // group line text -> slot
    std::vector<std::string> texts_;              // a later part's texts by slot (slot 0: none)
    std::vector<EdgeSet> edges_;                  // by slot; one small set per group, so that the set
                                                  // being toggled stays in the cache
    int current_ = 0;
    int groups_ = 0;  // distinct group lines
    std::int64_t vertexLines_ = 0;
    std::uint64_t stoppedAt_ = 0;
    std::vector<Edge> toggled_;  // a later part's edges of the face being read
};

// A mesh read in up to two parts at once: the head from the start on the
// caller's thread, the tail beside it, from where the two have about the
// same work left once the second thread is free. Where the file cannot be
// split, the head is all of it.
class MeshReading {
public:
    // A regular file of at least `splitFrom` bytes, read by the POSIX rules,
    // may be split.
    MeshReading(const char* objPath, char groupChar, std::uint64_t splitFrom = kSplitFrom);

    bool splittable() const { return size_ != 0; }

    // Fixes the tail to begin with the line after `share` of the file's
    // bytes, before either is read (for tests).
    void split(double share);

    // The tail, on the second thread.
    void readTail(const SideWork& side);

    // The head (all of the file when it is not split), on this thread.
    void readHead();
    bool headFailed() const { return headEnd_ != MeshPart::End::Read; }

    // Once both have been read: the tail folded into the head, what the tail
    // left (from a relative reference on) read here, and the groups' edges
    // merged.
    GroupBoundaries finish();

private:
    std::uint64_t lineAfter(std::uint64_t at) const;
    std::uint64_t middleOfWork(std::uint64_t from) const;
    std::uint64_t claimHead(std::uint64_t from, std::uint64_t to);

    std::string path_;
    std::uint64_t size_ = 0;  // when the file may be split
    std::mutex mutex_;        // guards the two below while both parts are read
    std::uint64_t headClaimed_ = 0;  // where the head's runs read or being read end
    std::uint64_t splitAt_ = 0;      // where the tail begins; 0 without one
    MeshPart head_, tail_;
    MeshPart::End headEnd_ = MeshPart::End::Failed;
    MeshPart::End tailEnd_ = MeshPart::End::Stopped;
};

}  // namespace creases
