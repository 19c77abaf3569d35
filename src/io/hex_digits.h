#pragma once

// The one rule for hexadecimal digits, for the address field ('A' for ten) and the
// byte columns ('a'): hexDigit. The SSE2 helper applies it to sixteen nibbles at
// once and is tested against it.

#include <cstdint>

#include "platform/sse2.h"

constexpr char hexDigit(unsigned value, char tenDigit) {
    const int digit = static_cast<int>(value);
    return static_cast<char>(digit < 10 ? '0' + digit : tenDigit + digit - 10);
}

/// Stores value as eight hexadecimal digits, the most significant first; from
/// shifts, not from the value's bytes in memory, so the same on every byte order.
inline void storeHex32(std::uint32_t value, char tenDigit, char* out) {
    for (int digit = 0; digit < 8; ++digit) {
        out[digit] = hexDigit((value >> (28 - 4 * digit)) & 0xF, tenDigit);
    }
}

#ifdef ZELVANE_USE_SSE2
/// hexDigit of each of sixteen nibbles (byte values 0-15).
inline __m128i hexDigits(__m128i nibbles, char tenDigit) {
    const __m128i aboveNine = _mm_cmpgt_epi8(nibbles, _mm_set1_epi8(9));
    return _mm_add_epi8(
        _mm_add_epi8(nibbles, _mm_set1_epi8('0')),
        _mm_and_si128(aboveNine, _mm_set1_epi8(static_cast<char>(tenDigit - '0' - 10))));
}
#endif
