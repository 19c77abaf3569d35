#pragma once

// SSE2 where the processor has it (every x86-64, and 32-bit x86 built with
// -msse2), unless the build asks for the plain code that other processors run
// (CMake option ZELVANE_VECTOR_CODE=OFF), so that both paths can be tested.
#if defined(__SSE2__) && !defined(ZELVANE_PLAIN_CODE)
#define ZELVANE_USE_SSE2 1
#include <emmintrin.h>

/// The hexadecimal digits of sixteen nibbles (values 0-15), with tenDigit ('a' or
/// 'A') for 10 and the letters after it from there on.
inline __m128i hexDigits(__m128i nibbles, char tenDigit) {
    const __m128i aboveNine = _mm_cmpgt_epi8(nibbles, _mm_set1_epi8(9));
    return _mm_add_epi8(
        _mm_add_epi8(nibbles, _mm_set1_epi8('0')),
        _mm_and_si128(aboveNine, _mm_set1_epi8(static_cast<char>(tenDigit - '0' - 10))));
}
#endif
