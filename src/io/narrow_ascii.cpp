#include "io/narrow_ascii.h"

#include <cstdint>

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

// All ones in each byte that is plain: 0x20-0x7F, as signed bytes above 0x1F.
__m128i plainMask(__m128i bytes) { return _mm_cmpgt_epi8(bytes, _mm_set1_epi8(0x1F)); }

// One bit per byte that is plain.
int plainBytes(__m128i bytes) { return _mm_movemask_epi8(plainMask(bytes)); }

constexpr int AllPlain = 0xFFFF;

// The index of the first byte that is not plain, from a group's plainBytes.
std::size_t firstSpecial(int plain) { return static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(~plain))); }

// Narrows whole groups of text[0..length) and returns where it stopped: at the
// first character that is not plain, or where less than a group is left.
std::size_t narrowGroups(const wchar_t* text, std::size_t length, char* out) {
    std::size_t done = 0;
    for (; done + GroupSize <= length; done += GroupSize) {
        const __m128i bytes = packGroup(text + done);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + done), bytes);
        const int plain = plainBytes(bytes);
        if (plain != AllPlain) return done + firstSpecial(plain);
    }
    return done;
}
#endif

// The plain characters of text[done..end) one at a time; returns where it stopped.
std::size_t narrowEach(const wchar_t* text, std::size_t done, std::size_t end, char* out) {
    for (; done < end && isPlainAscii(text[done]); ++done)
        out[done] = static_cast<char>(text[done]);
    return done;
}

}  // namespace

#ifdef ZELVANE_USE_SSE2
const bool NarrowingIsVectorCode = true;

std::size_t narrowAscii(const wchar_t* text, std::size_t length, char* out) {
    return narrowEach(text, narrowGroups(text, length, out), length, out);
}
#else
const bool NarrowingIsVectorCode = false;

std::size_t narrowAscii(const wchar_t* text, std::size_t length, char* out) {
    return narrowEach(text, 0, length, out);
}
#endif
