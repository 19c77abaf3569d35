#include "dump/line_columns.h"

#include "dump/line_formatter.h"
#include "io/hex_digits.h"

namespace {

#ifdef ZELVANE_USE_SSE2
static_assert(BytesPerLine == 16, "the SSE2 way takes a line as one 16-byte vector");
constexpr int PairsPerStore = 4;

// Stores four columns' digit pairs, given as eight 16-bit characters (high and
// low digit of each column in turn), at 3c and 3c + 1, leaving the spaces be.
void storeFourPairs(wchar_t* hex, __m128i pairs) {
    if constexpr (sizeof(wchar_t) == 4) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i first = _mm_unpacklo_epi16(pairs, zero);
        const __m128i second = _mm_unpackhi_epi16(pairs, zero);
        // The low and the high eight bytes of each, a column's two digits apiece.
        _mm_storel_epi64(reinterpret_cast<__m128i*>(hex), first);
        _mm_storeh_pi(reinterpret_cast<__m64*>(hex + HexColumnWidth), _mm_castsi128_ps(first));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(hex + 2 * HexColumnWidth), second);
        _mm_storeh_pi(reinterpret_cast<__m64*>(hex + 3 * HexColumnWidth), _mm_castsi128_ps(second));
    } else {
        for (int column = 0; column < PairsPerStore; ++column) {
            _mm_storeu_si32(hex + HexColumnWidth * column, pairs);
            pairs = _mm_srli_si128(pairs, 4);
        }
    }
}

// Widens sixteen bytes into sixteen wide characters.
void storeWide(wchar_t* out, __m128i bytes) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = _mm_unpacklo_epi8(bytes, zero);
    const __m128i high = _mm_unpackhi_epi8(bytes, zero);
    auto* vectors = reinterpret_cast<__m128i*>(out);
    if constexpr (sizeof(wchar_t) == 4) {
        _mm_storeu_si128(vectors, _mm_unpacklo_epi16(low, zero));
        _mm_storeu_si128(vectors + 1, _mm_unpackhi_epi16(low, zero));
        _mm_storeu_si128(vectors + 2, _mm_unpacklo_epi16(high, zero));
        _mm_storeu_si128(vectors + 3, _mm_unpackhi_epi16(high, zero));
    } else {
        _mm_storeu_si128(vectors, low);
        _mm_storeu_si128(vectors + 1, high);
    }
}

// displayChar of sixteen bytes. One more than each of 0x20-0x7E is 0x21-0x7F;
// as a signed byte, one more than any other byte is below 0x21 (0x7F and up wrap
// to 0x80-0x00).
__m128i displayChars(__m128i bytes) {
    const __m128i printable =
        _mm_cmpgt_epi8(_mm_add_epi8(bytes, _mm_set1_epi8(1)), _mm_set1_epi8(0x20));
    const __m128i dots = _mm_set1_epi8('.');
    return _mm_xor_si128(dots, _mm_and_si128(printable, _mm_xor_si128(bytes, dots)));
}
#endif

}  // namespace

void fillColumns(wchar_t* hexColumns, wchar_t* textColumns, const std::uint8_t* bytes, int count) {
    for (int i = 0; i < count; ++i) {
        const std::uint8_t byte = bytes[i];
        hexColumns[HexColumnWidth * i] = static_cast<wchar_t>(hexDigit(byte >> 4u, 'a'));
        hexColumns[HexColumnWidth * i + 1] = static_cast<wchar_t>(hexDigit(byte & 0xFu, 'a'));
        textColumns[i] = displayChar(byte);
    }
}

#ifdef ZELVANE_USE_SSE2
const bool WholeLineIsVectorCode = true;

void fillWholeLine(wchar_t* hexColumns, wchar_t* textColumns, const std::uint8_t* bytes) {
    const __m128i line = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    const __m128i lowNibbles = _mm_set1_epi8(0x0F);
    const __m128i high = hexDigits(_mm_and_si128(_mm_srli_epi16(line, 4), lowNibbles), 'a');
    const __m128i low = hexDigits(_mm_and_si128(line, lowNibbles), 'a');
    const __m128i pairs0to7 = _mm_unpacklo_epi8(high, low);
    const __m128i pairs8to15 = _mm_unpackhi_epi8(high, low);
    const __m128i zero = _mm_setzero_si128();
    constexpr int Quarter = HexColumnWidth * PairsPerStore;
    storeFourPairs(hexColumns, _mm_unpacklo_epi8(pairs0to7, zero));
    storeFourPairs(hexColumns + Quarter, _mm_unpackhi_epi8(pairs0to7, zero));
    storeFourPairs(hexColumns + 2 * Quarter, _mm_unpacklo_epi8(pairs8to15, zero));
    storeFourPairs(hexColumns + 3 * Quarter, _mm_unpackhi_epi8(pairs8to15, zero));
    storeWide(textColumns, displayChars(line));
}
#else
const bool WholeLineIsVectorCode = false;

void fillWholeLine(wchar_t* hexColumns, wchar_t* textColumns, const std::uint8_t* bytes) {
    fillColumns(hexColumns, textColumns, bytes, BytesPerLine);
}
#endif
