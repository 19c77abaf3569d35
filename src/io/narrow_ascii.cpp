#include "io/narrow_ascii.h"

#include <cstdint>

#include "platform/sse2.h"

namespace {

bool isPlain(wchar_t character) {
    const auto code = static_cast<std::uint32_t>(character);
    return code < 0x80 && code != '\n' && code != 0;
}

#ifdef ZELVANE_USE_SSE2
constexpr std::size_t GroupSize = 16;

// Sixteen characters as sixteen bytes. The saturating packs keep every value
// below 0x80 and turn every other one into 0x80-0xFF or 0, which the caller
// treats as special, so nothing above U+007F can pass as a plain byte.
__m128i packGroup(const wchar_t* text) {
    const auto* vectors = reinterpret_cast<const __m128i*>(text);
    if constexpr (sizeof(wchar_t) == 4) {
        const __m128i low = _mm_packs_epi32(_mm_loadu_si128(vectors), _mm_loadu_si128(vectors + 1));
        const __m128i high =
            _mm_packs_epi32(_mm_loadu_si128(vectors + 2), _mm_loadu_si128(vectors + 3));
        return _mm_packus_epi16(low, high);
    } else {
        return _mm_packus_epi16(_mm_loadu_si128(vectors), _mm_loadu_si128(vectors + 1));
    }
}

// One bit per byte that is not plain: 0x80 and above, a line feed or a NUL.
int specialBytes(__m128i bytes) {
    const __m128i lineFeeds = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'));
    const __m128i nuls = _mm_cmpeq_epi8(bytes, _mm_setzero_si128());
    return _mm_movemask_epi8(_mm_or_si128(bytes, _mm_or_si128(lineFeeds, nuls)));
}
#endif

}  // namespace

std::size_t narrowAscii(const wchar_t* text, std::size_t length, char* out) {
    std::size_t done = 0;
#ifdef ZELVANE_USE_SSE2
    for (; done + GroupSize <= length; done += GroupSize) {
        const __m128i bytes = packGroup(text + done);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + done), bytes);
        const int special = specialBytes(bytes);
        if (special != 0) return done + static_cast<std::size_t>(__builtin_ctz(special));
    }
#endif
    for (; done < length && isPlain(text[done]); ++done) out[done] = static_cast<char>(text[done]);
    return done;
}
