#include "EdgeSet.h"

namespace creases {

namespace {
constexpr std::size_t kFirstSize = 16;
}

std::size_t EdgeSet::probe(Edge e) const {
    std::size_t i = home(e);
    while (slots_[i] != e && slots_[i] != kEmpty) i = next(i);
    return i;
}

std::size_t EdgeSet::find(Edge e) const {
    if (slots_.empty()) return npos;
    std::size_t i = probe(e);
    return slots_[i] == e ? i : npos;
}

void EdgeSet::grow() {
    rehash(slots_.empty() ? kFirstSize : slots_.size() * 2);
    limit_ = slots_.size() / 2;
}

void EdgeSet::reserve(std::size_t count) {
    if (count <= limit_) return;
    rehash(count + count / 3 + 1);
    limit_ = count;
}

void EdgeSet::rehash(std::size_t size) {
    std::vector<Edge> old;
    old.swap(slots_);
    slots_.assign(size, kEmpty);
    for (Edge e : old)
        if (e != kEmpty) slots_[probe(e)] = e;
}

bool EdgeSet::insert(Edge e) {
    if (count_ >= limit_) grow();
    std::size_t i = probe(e);
    if (slots_[i] == e) return false;
    slots_[i] = e;
    ++count_;
    return true;
}

// Backward-shift deletion: every later entry of the probe run that may move
// closer to its home slot does, so that no lookup stops early at a hole.
void EdgeSet::eraseAt(std::size_t hole) {
    for (std::size_t i = next(hole); slots_[i] != kEmpty; i = next(i)) {
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
