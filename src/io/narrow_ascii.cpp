#include "io/narrow_ascii.h"

#include <cstdint>

#include "platform/sse2.h"

namespace {

#ifdef ZELVANE_USE_SSE2
constexpr std::size_t GroupSize = 16;

// Sixteen characters as sixteen bytes. The saturating packs keep every value
// below 0x80 and turn every other one into 0x80-0xFF or 0, none of them plain.
__attribute__((no_sanitize("address"))) __m128i packGroup(const wchar_t* text) {
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

constexpr std::uintptr_t PageSize = 4096;  // the smallest page of x86 processors

// How many characters from text on lie in the same page of memory as text. Memory
// is mapped a whole page at a time, so all of them can be read, even where the
// string ends among them.
std::size_t charactersLeftInPage(const wchar_t* text) {
    const std::uintptr_t offset = reinterpret_cast<std::uintptr_t>(text) & (PageSize - 1);
    return (PageSize - offset) / sizeof(wchar_t);
}

// All ones in each byte that is plain: 0x20-0x7F, as signed bytes above 0x1F.
__m128i plainMask(__m128i bytes) { return _mm_cmpgt_epi8(bytes, _mm_set1_epi8(0x1F)); }

// One bit per byte that is plain.
int plainBytes(__m128i bytes) { return _mm_movemask_epi8(plainMask(bytes)); }

constexpr int AllPlain = 0xFFFF;

// The index of the first byte that is not plain, from a group's plainBytes.
std::size_t firstSpecial(int plain) { return static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(~plain))); }

constexpr std::size_t BatchGroups = NarrowBatchLength / GroupSize;
constexpr std::size_t BatchSize = BatchGroups * GroupSize;
static_assert(BatchSize == NarrowBatchLength, "a batch is whole groups");

// Narrows BatchGroups groups and returns how many characters from the first on
// are plain. A dump line is 65 characters and the NUL: the groups before the
// last are plain and tested together, the string ends in the last.
__attribute__((no_sanitize("address"))) std::size_t narrowBatch(const wchar_t* text, char* out) {
    constexpr std::size_t Last = BatchGroups - 1;
    __m128i groups[BatchGroups];
    __m128i leadingPlain = _mm_set1_epi8(-1);
    for (std::size_t group = 0; group < BatchGroups; ++group) {
        groups[group] = packGroup(text + group * GroupSize);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + group * GroupSize), groups[group]);
        if (group < Last) leadingPlain = _mm_and_si128(leadingPlain, plainMask(groups[group]));
    }
    std::size_t group = 0;
    if (_mm_movemask_epi8(leadingPlain) == AllPlain) {
        group = Last;
    } else {
        while (plainBytes(groups[group]) == AllPlain) ++group;
    }
    const int plain = plainBytes(groups[group]);
    return plain == AllPlain ? BatchSize : group * GroupSize + firstSpecial(plain);
}

// Narrows whole groups of text[done..end) and returns where it stopped: at the
// first character that is not plain, or where less than a group is left.
// The address sanitizer would report the groups that narrowAsciiString reads past
// a string's end, which never leave the page of the next character not yet read;
// so for packGroup.
__attribute__((no_sanitize("address"))) std::size_t narrowGroups(const wchar_t* text,
                                                                 std::size_t done, std::size_t end,
                                                                 char* out) {
    for (; done + GroupSize <= end; done += GroupSize) {
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

std::size_t narrowAscii(const wchar_t* text, std::size_t length, char* out) {
    std::size_t done = 0;
#ifdef ZELVANE_USE_SSE2
    done = narrowGroups(text, 0, length, out);
#endif
    return narrowEach(text, done, length, out);
}

std::size_t narrowAsciiString(const wchar_t* text, std::size_t room, char* out) {
    std::size_t done = 0;
#ifdef ZELVANE_USE_SSE2
    // A dump line, the most common string, ends within the first batch.
    if (room >= BatchSize && charactersLeftInPage(text) >= BatchSize) {
        done = narrowBatch(text, out);
        if (done < BatchSize) return done;
    }
    while (done + GroupSize <= room) {
        std::size_t end = done + charactersLeftInPage(text + done);
        if (end < done + GroupSize) {
            // A group would cross into the next page: one character at a time up to it.
            if (!isPlainAscii(text[done])) return done;
            out[done] = static_cast<char>(text[done]);
            ++done;
            continue;
        }
        if (end > room) end = room;
        // The groups may reach past the string's end, but never past its page.
        done = narrowGroups(text, done, end, out);
        if (!isPlainAscii(text[done])) return done;
    }
#endif
    return narrowEach(text, done, room, out);
}
