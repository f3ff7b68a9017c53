#include "GroupBoundaries.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

#include "FaceEdges.h"
#include "SideWork.h"
#include "pellando.h"
#include "textio/TextReader.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace creases {

namespace {

// The LF that ends the line at p, or `end`.
const char* LineEnd(const char* p, const char* end) {
    const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
    return lf ? static_cast<const char*>(lf) : end;
}

// A failure, with what was read before it: the groups (at the limit, all
// it allows) and, after a failed read, the vertex lines.
GroupBoundaries Failure(float status, const MeshPart* read = nullptr) {
    GroupBoundaries result;
    result.status = status;
    if (status == PELLANDO_TOO_MANY_GROUPS) {
        result.groupCount = kMaxGroups;
    } else if (read) {
        result.groupCount = read->groups();
        result.vertexLines = read->vertexLines();
    }
    return result;
}

float StatusOf(MeshPart::End end) {
    return end == MeshPart::End::Failed ? PELLANDO_FAILED : PELLANDO_TOO_MANY_GROUPS;
}

}  // namespace

MeshPart::MeshPart(char groupChar, bool first) : groupChar_(groupChar), first_(first), edges_(1) {
    if (!first_) texts_.emplace_back();
}

MeshPart::End MeshPart::read(textio::TextReader& reader, std::uint64_t at, const SideWork* side) {
    // Whole runs of lines at a time: most lines are vertex data, skipped with
    // one search for their end, and a face line is read up to its end.
    std::string_view lines;
    while (reader.nextLines(lines)) {
        if (side && side->stopping()) return End::Stopped;
        const char* p = lines.data();
        const char* const end = p + lines.size();
        while (p != end) {
            const char* lf;
            if (*p == '\n' || (textio::kWindowsTextRules && *p == '\r' && p + 1 != end && p[1] == '\n')) {
                lf = *p == '\n' ? p : p + 1;  // an empty line
            } else if (*p == groupChar_) {
                lf = LineEnd(p, end);
                std::string_view line(p, static_cast<std::size_t>(lf - p));
                if (textio::kWindowsTextRules && lf != end && line.back() == '\r') line.remove_suffix(1);
                auto found = slots_.find(std::string(line));
                if (found != slots_.end()) {
                    current_ = found->second;
                } else {
                    if (groups_ + 1 > kMaxGroups) return End::TooManyGroups;
                    current_ = first_ ? groups_ : groups_ + 1;
                    ++groups_;
                    slots_.emplace(line, current_);
                    if (!first_) texts_.emplace_back(line);
                    if (edges_.size() <= static_cast<std::size_t>(current_)) edges_.resize(current_ + 1);
                }
            } else if (*p == 'f') {
                if (!first_ && std::memchr(p, '-', static_cast<std::size_t>(LineEnd(p, end) - p))) {
                    stoppedAt_ = at + static_cast<std::uint64_t>(p - lines.data());
                    return End::Relative;
                }
                EdgeSet& edges = edges_[current_];
                lf = VisitFaceEdges(p, end, vertexLines_, [&edges](std::int32_t a, std::int32_t b) {
                    edges.toggle(MakeEdge(a, b));
                });
            } else {
                if (*p == 'v' && p + 1 != end && p[1] == ' ') ++vertexLines_;
                lf = LineEnd(p, end);
            }
            p = lf == end ? end : lf + 1;
        }
        at += lines.size();
    }
    return reader.failed() ? End::Failed : End::Read;
}

MeshPart::End MeshPart::absorb(MeshPart& later) {
    // The later part's slots as this part's group numbers: slot 0 is the
    // group in force where it began, the others its group lines, new ones
    // numbered in the order they come.
    std::vector<int> group(later.edges_.size());
    group[0] = current_;
    for (std::size_t slot = 1; slot < later.texts_.size(); ++slot) {
        auto found = slots_.find(later.texts_[slot]);
        if (found != slots_.end()) {
            group[slot] = found->second;
            continue;
        }
        if (groups_ + 1 > kMaxGroups) return End::TooManyGroups;
        group[slot] = groups_++;
        slots_.emplace(std::move(later.texts_[slot]), group[slot]);
        if (edges_.size() <= static_cast<std::size_t>(group[slot])) edges_.resize(group[slot] + 1);
    }
    for (std::size_t slot = 0; slot < later.edges_.size(); ++slot) {
        EdgeSet& into = edges_[group[slot]];
        if (into.empty()) {
            std::swap(into, later.edges_[slot]);
        } else {
            later.edges_[slot].forEach([&into](Edge e) { into.toggle(e); });
        }
        later.edges_[slot] = EdgeSet();
    }
    current_ = group[later.current_];
    vertexLines_ += later.vertexLines_;
    return End::Read;
}

GroupBoundaries MeshPart::merge() {
    GroupBoundaries result;
    result.groupCount = groups_;
    // Only numbered groups count: a file without group lines has no creases.
    std::size_t total = 0;
    for (int group = 0; group < groups_; ++group) total += edges_[group].size();
    result.edges.reserve(total);
    for (int group = 0; group < groups_; ++group) {
        edges_[group].forEach([&result](Edge e) { result.edges.insert(e); });
        edges_[group] = EdgeSet();
    }
    result.vertexLines = vertexLines_;
    result.status = PELLANDO_OK;
    return result;
}

GroupBoundaries FindGroupBoundaries(const char* objPath, char groupChar) {
    MeshReading mesh(objPath, groupChar);
    mesh.readHead();
    return mesh.finish();
}

MeshReading::MeshReading(const char* objPath, char groupChar)
    : path_(objPath), head_(groupChar, true), tail_(groupChar, false) {}

void MeshReading::split(double share, std::uint64_t from) {
#ifdef _WIN32
    (void)share;
    (void)from;
#else
    struct stat st;
    if (::stat(path_.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) < from ||
        st.st_size == 0)
        return;
    // The tail begins with the line after the one at `share` of the bytes.
    const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
    const std::uint64_t middle = static_cast<std::uint64_t>(static_cast<double>(size) * share);
    textio::TextReader reader;
    std::string_view lines;
    if (middle >= size || !reader.open(path_.c_str(), middle, size) || !reader.nextLines(lines)) return;
    const void* lf = std::memchr(lines.data(), '\n', lines.size());
    if (!lf) return;
    const std::uint64_t at = middle + static_cast<std::uint64_t>(static_cast<const char*>(lf) - lines.data()) + 1;
    if (at < size) splitAt_ = at;
#endif
}

void MeshReading::readTail(const SideWork& side) {
    if (!splitAt_) return;
    textio::TextReader reader;
    tailEnd_ = reader.open(path_.c_str(), splitAt_, UINT64_MAX) ? tail_.read(reader, splitAt_, &side)
                                                                 : MeshPart::End::Failed;
}

void MeshReading::readHead() {
    textio::TextReader reader;
    headEnd_ = reader.open(path_.c_str(), 0, splitAt_ ? splitAt_ : UINT64_MAX) ? head_.read(reader, 0)
                                                                             : MeshPart::End::Failed;
}

GroupBoundaries MeshReading::finish() {
    if (headEnd_ != MeshPart::End::Read) return Failure(StatusOf(headEnd_), &head_);
    if (splitAt_) {
        // The tail as far as it was read, then the rest of the file here.
        std::uint64_t resumeAt = 0;
        switch (tailEnd_) {
        case MeshPart::End::Read:
            break;
        case MeshPart::End::Relative:
            resumeAt = tail_.stoppedAt();
            break;
        case MeshPart::End::Stopped:
            resumeAt = splitAt_;  // never read
            break;
        default:
            // A failure in the tail counts unless the groups before it
            // already go beyond the limit.
            if (head_.absorb(tail_) == MeshPart::End::TooManyGroups) return Failure(PELLANDO_TOO_MANY_GROUPS);
            return Failure(StatusOf(tailEnd_), &head_);
        }
        if (tailEnd_ != MeshPart::End::Stopped && head_.absorb(tail_) != MeshPart::End::Read)
            return Failure(PELLANDO_TOO_MANY_GROUPS);
        if (resumeAt) {
            textio::TextReader rest;
            if (!rest.open(path_.c_str(), resumeAt, UINT64_MAX)) return Failure(PELLANDO_FAILED, &head_);
            const MeshPart::End end = head_.read(rest, resumeAt);
            if (end != MeshPart::End::Read) return Failure(StatusOf(end), &head_);
        }
    }
    return head_.merge();
}

}  // namespace creases
