// Eight bytes of text at a time, in plain integer arithmetic (no vector
// instructions, so the same code serves every target): most bytes of a mesh
// or a scene are digits and separators, and looking at them one by one is
// where a crease transfer spends its time.
#pragma once

#include <cstdint>

namespace creases {

constexpr std::uint64_t kEachByte = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// The eight bytes at p, the first in the lowest bits whatever the machine's
// byte order (compilers make this one load where that is the order).
inline std::uint64_t LoadWord(const char* p) {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(p);
    return std::uint64_t(b[0]) | std::uint64_t(b[1]) << 8 | std::uint64_t(b[2]) << 16 | std::uint64_t(b[3]) << 24 |
           std::uint64_t(b[4]) << 32 | std::uint64_t(b[5]) << 40 | std::uint64_t(b[6]) << 48 |
           std::uint64_t(b[7]) << 56;
}

// The high bit of the first byte of `word` equal to c is set (later bytes'
// bits may be set too, wrongly: only the first is exact).
inline std::uint64_t BytesEqual(std::uint64_t word, unsigned char c) {
    std::uint64_t x = word ^ (kEachByte * c);
    return (x - kEachByte) & ~x & kHighBits;
}

// Zero in every byte before the first non-digit, not zero in that byte
// (later bytes: no matter).
inline std::uint64_t NonDigits(std::uint64_t word) {
    // A digit is 0x30-0x39: high half 3, and still 3 after adding 6. (A carry
    // out of a byte that is no digit only touches the bytes after it.)
    constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0ull;
    return ((word & kHigh) | ((word + kEachByte * 6) & kHigh) >> 4) ^ (kEachByte * 0x33);
}

// The index (0-7) of the first byte of a non-zero mask that is not zero.
inline unsigned FirstByte(std::uint64_t mask) {
#if defined(__GNUC__)
    return static_cast<unsigned>(__builtin_ctzll(mask)) / 8;
#else
    unsigned i = 0;
    while (!(mask & 0xFF)) {
        mask >>= 8;
        ++i;
    }
    return i;
#endif
}

// The value of the first `count` (1-8) bytes of `word`, all decimal digits.
inline std::uint32_t DigitsValue(std::uint64_t word, unsigned count) {
    // Digits to the high bytes, zeros (leading zeros) before them.
    std::uint64_t v = (word - kEachByte * '0') << (8 * (8 - count));
    v = v * 10 + (v >> 8);  // pairs of digits
    v = (((v & 0x000000FF000000FFull) * (100 + (1000000ull << 32))) +
         (((v >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32)))) >> 32;
    return static_cast<std::uint32_t>(v);
}

}  // namespace creases
