// Whole numbers in text, read as formatted extraction of an int reads them
// (`stream >> value`): white space first, then an optional sign and decimal
// digits; a value that does not fit in 32 bits is no number. By hand, because
// a crease transfer reads tens of millions of them.
#pragma once

#include <cstdint>

#include "ByteWords.h"

namespace creases {

// The white space of the C locale: blank, and tab to CR. (As a bit mask: one
// test where the plain comparisons take several, for every number read.)
inline bool IsSpace(char c) {
    const unsigned u = static_cast<unsigned char>(c);
    return u <= ' ' && (0x100003E00ull >> u & 1);
}

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The usual number, up to seven digits without a sign, read at once where
// eight bytes are at hand. False, with `p` left, for anything else.
inline bool ReadShortInt(const char*& p, const char* end, std::int32_t& value) {
    if (end - p < 8) return false;
    const std::uint64_t word = LoadWord(p);
    const std::uint64_t stop = NonDigits(word);
    const unsigned count = stop ? FirstByte(stop) : 0;
    if (count == 0) return false;
    value = static_cast<std::int32_t>(DigitsValue(word, count));
    p += count;
    return true;
}

// Reads a sign and digits at `p` (no white space first). On success stores the
// value, moves `p` past the digits and answers true; otherwise leaves `p`.
inline bool ReadInt(const char*& p, const char* end, std::int32_t& value) {
    if (ReadShortInt(p, end, value)) return true;
    const char* q = p;
    bool negative = false;
    if (q != end && (*q == '-' || *q == '+')) negative = *q++ == '-';
    if (q == end || !IsDigit(*q)) return false;
    while (q != end && *q == '0') ++q;
    // Past the leading zeros, eleven digits are too many whatever they are,
    // and ten fit in 64 bits unchecked.
    const char* digits = q;
    std::uint64_t n = 0;
    for (; q != end && IsDigit(*q); ++q) {
        if (q - digits == 10) return false;  // the digits still belong to this number
        n = n * 10 + static_cast<unsigned>(*q - '0');
    }
    if (n > (negative ? 2147483648u : 2147483647u)) return false;
    value = static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(n) : static_cast<std::int64_t>(n));
    p = q;
    return true;
}

}  // namespace creases
