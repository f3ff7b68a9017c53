#include "EdgeSet.h"

namespace creases {

namespace {
constexpr std::size_t kFirstSize = 16;
}

std::size_t EdgeSet::probe(Edge e) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = home(e);
    while (slots_[i] != e && slots_[i] != kEmpty) i = (i + 1) & mask;
    return i;
}

std::size_t EdgeSet::find(Edge e) const {
    if (slots_.empty()) return npos;
    std::size_t i = probe(e);
    return slots_[i] == e ? i : npos;
}

// Kept at most half full, so probes stay short.
void EdgeSet::grow() { rehash(slots_.empty() ? kFirstSize : slots_.size() * 2); }

void EdgeSet::reserve(std::size_t count) {
    std::size_t size = slots_.empty() ? kFirstSize : slots_.size();
    while (count * 2 > size) size *= 2;
    if (size != slots_.size()) rehash(size);
}

void EdgeSet::rehash(std::size_t size) {
    std::vector<Edge> old;
    old.swap(slots_);
    slots_.assign(size, kEmpty);
    shift_ = 64;
    for (std::size_t s = size; s > 1; s >>= 1) --shift_;
    for (Edge e : old)
        if (e != kEmpty) slots_[probe(e)] = e;
}

bool EdgeSet::insert(Edge e) {
    if ((count_ + 1) * 2 > slots_.size()) grow();
    std::size_t i = probe(e);
    if (slots_[i] == e) return false;
    slots_[i] = e;
    ++count_;
    return true;
}

// Backward-shift deletion: every later entry of the probe run that may move
// closer to its home slot does, so that no lookup stops early at a hole.
void EdgeSet::eraseAt(std::size_t hole) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = (hole + 1) & mask; slots_[i] != kEmpty; i = (i + 1) & mask) {
        std::size_t want = home(slots_[i]);
        // Move slots_[i] into the hole unless its home lies cyclically in (hole, i].
        bool stays = hole <= i ? (hole < want && want <= i) : (hole < want || want <= i);
        if (!stays) {
            slots_[hole] = slots_[i];
            hole = i;
        }
    }
    slots_[hole] = kEmpty;
    --count_;
}

}  // namespace creases
