#include "io/narrow_ascii.h"

#include "platform/sse2.h"

namespace {

#ifdef ZELVANE_USE_SSE2
constexpr std::size_t GroupSize = 16;

// Sixteen characters as sixteen bytes. The saturating packs keep every value
// below 0x80 and turn every other one into 0x80-0xFF or 0, none of them plain.
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

// One bit per byte that is not plain: below 0x20, or, as a signed byte, negative.
int specialBytes(__m128i bytes) {
    return _mm_movemask_epi8(_mm_cmplt_epi8(bytes, _mm_set1_epi8(0x20)));
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
    for (; done < length && isPlainAscii(text[done]); ++done) out[done] = static_cast<char>(text[done]);
    return done;
}
