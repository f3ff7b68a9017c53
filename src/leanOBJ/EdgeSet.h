// A set of mesh edges, as a flat hash table.
//
// An edge is the unordered pair of its two zero-based vertex indices; it is
// stored as one 64-bit key, smaller index first, so that both orders of the
// same edge meet. Meshes of millions of faces toggle tens of millions of
// edges, so the table is open-addressed with linear probing: a hash and a
// scale to the table's size per lookup and, for a table that fits the cache,
// no cache miss. A table that grows is kept at most half full; one given its
// size beforehand (reserve) up to three quarters, since a mesh whose edges
// are mostly creases keeps millions of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace creases {

using Edge = std::uint64_t;

inline Edge MakeEdge(std::int32_t a, std::int32_t b) {
    if (b < a) {
        std::int32_t t = a;
        a = b;
        b = t;
    }
    return (static_cast<Edge>(static_cast<std::uint32_t>(a)) << 32) | static_cast<std::uint32_t>(b);
}
inline std::int32_t EdgeFirst(Edge e) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(e >> 32)); }
inline std::int32_t EdgeSecond(Edge e) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(e)); }

class EdgeSet {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // Inserts the edge when absent, removes it when present. True when the
    // edge is in the set afterwards. (Here, not in the .cpp: it is the hot
    // loop of reading a mesh.)
    bool toggle(Edge e) {
        if (count_ >= limit_) grow();
        for (std::size_t i = home(e);; i = next(i)) {
            if (slots_[i] == e) {
                eraseAt(i);
                return false;
            }
            if (slots_[i] == kEmpty) {
                slots_[i] = e;
                ++count_;
                return true;
            }
        }
    }

    // Inserts the edge; false when it was there already.
    bool insert(Edge e);

    // Room for `count` edges without growing, three quarters full at most.
    // A set filled from another one (whose edges come in the order of the
    // same hash) must have its room first: growing meanwhile would pile them
    // into long probe runs.
    void reserve(std::size_t count);

    // The slot holding the edge, or npos. Slots stay put until the next
    // insertion, so a caller may keep values of its own by slot.
    std::size_t find(Edge e) const;

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    std::size_t slotCount() const { return slots_.size(); }

    template <class Visit>
    void forEach(Visit&& visit) const {
        for (Edge e : slots_)
            if (e != kEmpty) visit(e);
    }

private:
    // The pair (largest, smallest) is no key: MakeEdge puts the smaller first.
    static constexpr Edge kEmpty = 0x7FFFFFFF80000000ull;

    // The hash's top 32 bits scaled to the table's size: no table size
    // needs to be a power of two.
    std::size_t home(Edge e) const {
        return static_cast<std::size_t>((((e * 0x9E3779B97F4A7C15ull) >> 32) * slots_.size()) >> 32);
    }
    std::size_t next(std::size_t i) const { return ++i == slots_.size() ? 0 : i; }
    std::size_t probe(Edge e) const;  // the edge's slot, or the empty slot it would take
    void grow();
    void rehash(std::size_t size);
    void eraseAt(std::size_t slot);

    std::vector<Edge> slots_;
    std::size_t count_ = 0;
    std::size_t limit_ = 0;  // edges held before the table grows
};

}  // namespace creases
