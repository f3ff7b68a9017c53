#include "GroupBoundaries.h"

#include <algorithm>
#include <cstdio>
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

MeshPart::End MeshPart::read(textio::TextReader& reader, std::uint64_t at, const SideWork* side, const Claim& claim) {
    // Whole runs of lines at a time: most lines are vertex data, skipped with
    // one search for their end, and a face line is read up to its end.
    std::string_view lines;
    while (reader.nextLines(lines)) {
        if (side && side->stopping()) return End::Stopped;
        const char* p = lines.data();
        const std::uint64_t allowed = claim ? claim(at, at + lines.size()) : at + lines.size();
        const char* const end = p + (allowed - at);
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
            } else if (*p == 'f' && first_) {
                EdgeSet& edges = edges_[current_];
                lf = VisitFaceEdges(p, end, vertexLines_, [&edges](std::int32_t a, std::int32_t b) {
                    edges.toggle(MakeEdge(a, b));
                });
            } else if (*p == 'f') {
                // Toggled edges are kept until the line is read: a relative
                // reference leaves the whole line, toggled back, to the part
                // before.
                EdgeSet& edges = edges_[current_];
                toggled_.clear();
                lf = VisitFaceEdges(p, end, -1, [this, &edges](std::int32_t a, std::int32_t b) {
                    toggled_.push_back(MakeEdge(a, b));
                    edges.toggle(toggled_.back());
                });
                if (!lf) {
                    for (Edge e : toggled_) edges.toggle(e);
                    stoppedAt_ = at + static_cast<std::uint64_t>(p - lines.data());
                    return End::Relative;
                }
            } else {
                if (*p == 'v' && p + 1 != end && p[1] == ' ') ++vertexLines_;
                lf = LineEnd(p, end);
            }
            p = lf == end ? end : lf + 1;
        }
        if (allowed != at + lines.size()) return End::Read;  // the rest is another part's
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

MeshReading::MeshReading(const char* objPath, char groupChar, std::uint64_t splitFrom)
    : path_(objPath), head_(groupChar, true), tail_(groupChar, false) {
#ifndef _WIN32
    // Under the Windows rules a 0x1A byte would end the file anywhere: read
    // by those rules, a file is read in one part.
    struct stat st;
    if (::stat(objPath, &st) == 0 && S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) >= splitFrom &&
        st.st_size > 0)
        size_ = static_cast<std::uint64_t>(st.st_size);
#else
    (void)splitFrom;
#endif
}

std::uint64_t MeshReading::lineAfter(std::uint64_t at) const {
    textio::TextReader reader;
    std::string_view lines;
    if (at >= size_ || !reader.open(path_.c_str(), at, size_) || !reader.nextLines(lines)) return size_;
    const void* lf = std::memchr(lines.data(), '\n', lines.size());
    return lf ? at + static_cast<std::uint64_t>(static_cast<const char*>(lf) - lines.data()) + 1 : size_;
}

void MeshReading::split(double share) {
    if (size_) splitAt_ = lineAfter(static_cast<std::uint64_t>(static_cast<double>(size_) * share));
}

// Where the rest of the file, from `from` on, splits into two parts of about
// the same work. The work of equal stretches is estimated from a sample at
// the start of each: byte for byte, a face line costs about four times what
// the other lines (positions, coordinates, normals) cost.
std::uint64_t MeshReading::middleOfWork(std::uint64_t from) const {
    constexpr int kSamples = 64;
    constexpr std::size_t kSampleSize = 4096;
    constexpr double kOtherLineWork = 0.25;
    const std::uint64_t stretch = (size_ - from) / kSamples;
    double work[kSamples];
    double total = 0;
    std::FILE* file = std::fopen(path_.c_str(), "rb");
    if (!file) return size_;
    char sample[kSampleSize];
    for (int i = 0; i < kSamples; ++i) {
        const std::uint64_t at = from + stretch * static_cast<std::uint64_t>(i);
#ifdef _WIN32
        const bool placed = _fseeki64(file, static_cast<__int64>(at), SEEK_SET) == 0;
#else
        const bool placed = fseeko(file, static_cast<off_t>(at), SEEK_SET) == 0;
#endif
        const std::size_t n = placed ? std::fread(sample, 1, sizeof sample, file) : 0;
        const char* const end = sample + n;
        const char* p = std::min(end, LineEnd(sample, end) + 1);  // a whole line first
        double faceBytes = 0, otherBytes = 0;
        while (p < end) {
            const char* lf = std::min(end, LineEnd(p, end) + 1);
            (*p == 'f' ? faceBytes : otherBytes) += static_cast<double>(lf - p);
            p = lf;
        }
        const double bytes = faceBytes + otherBytes;
        work[i] = bytes > 0 ? (faceBytes + kOtherLineWork * otherBytes) / bytes : 0;
        total += work[i];
    }
    std::fclose(file);
    double half = total / 2;
    for (int i = 0; i < kSamples; ++i) {
        if (work[i] >= half && work[i] > 0)
            return from + static_cast<std::uint64_t>((i + half / work[i]) * static_cast<double>(stretch));
        half -= work[i];
    }
    return size_;
}

std::uint64_t MeshReading::claimHead(std::uint64_t from, std::uint64_t to) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (splitAt_ && to > splitAt_) return std::max(from, splitAt_);
    headClaimed_ = to;
    return to;
}

void MeshReading::readTail(const SideWork& side) {
    if (!size_) return;
    if (!splitAt_) {
        // The tail begins where the head, from where it has got to, and the
        // tail have about the same work left; unless the head is there first.
        std::uint64_t from;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            from = headClaimed_;
        }
        const std::uint64_t at = lineAfter(middleOfWork(from));
        std::lock_guard<std::mutex> lock(mutex_);
        if (at >= size_ || at <= headClaimed_) return;
        splitAt_ = at;
    }
    textio::TextReader reader;
    tailEnd_ = reader.open(path_.c_str(), splitAt_, UINT64_MAX) ? tail_.read(reader, splitAt_, &side)
                                                                 : MeshPart::End::Failed;
}

void MeshReading::readHead() {
    textio::TextReader reader;
    if (!reader.open(path_.c_str())) {
        headEnd_ = MeshPart::End::Failed;
        return;
    }
    headEnd_ = size_ ? head_.read(reader, 0, nullptr, [this](std::uint64_t from, std::uint64_t to) {
        return claimHead(from, to);
    })
                     : head_.read(reader, 0);
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
