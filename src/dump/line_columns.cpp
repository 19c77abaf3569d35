#include "dump/line_columns.h"

#include <cstring>

#include "platform/sse2.h"

namespace {

// Printable ASCII shows as itself, control characters as "."; bytes from 0x80
// on are not looked up and show as ".".
struct DisplayChars {
    wchar_t table[128];
    constexpr DisplayChars() : table() {
        for (int code = 0; code < 128; ++code) {
            table[code] = (code < 0x20 || code == 0x7F) ? L'.' : static_cast<wchar_t>(code);
        }
    }
};
constexpr DisplayChars DisplayCharTable;

struct HexPairs {
    wchar_t digits[256][2];
    constexpr HexPairs() : digits() {
        for (int value = 0; value < 256; ++value) {
            digits[value][0] = hexDigit(value >> 4);
            digits[value][1] = hexDigit(value & 0xF);
        }
    }
    static constexpr wchar_t hexDigit(int value) {
        return static_cast<wchar_t>(value < 10 ? L'0' + value : L'a' + value - 10);
    }
};
constexpr HexPairs HexPairTable;

#ifdef ZELVANE_USE_SSE2
// Stores four columns' digit pairs, given as eight 16-bit characters (high and
// low digit of each column in turn), at 3c and 3c + 1, leaving the spaces be.
void storeFourPairs(wchar_t* hex, __m128i pairs) {
    if constexpr (sizeof(wchar_t) == 4) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i first = _mm_unpacklo_epi16(pairs, zero);
        const __m128i second = _mm_unpackhi_epi16(pairs, zero);
        // The low and the high eight bytes of each, a column's two digits apiece.
        _mm_storel_epi64(reinterpret_cast<__m128i*>(hex), first);
        _mm_storeh_pi(reinterpret_cast<__m64*>(hex + 3), _mm_castsi128_ps(first));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(hex + 6), second);
        _mm_storeh_pi(reinterpret_cast<__m64*>(hex + 9), _mm_castsi128_ps(second));
    } else {
        for (int column = 0; column < 4; ++column) {
            const int pair = _mm_cvtsi128_si32(pairs);
            std::memcpy(hex + 3 * column, &pair, sizeof pair);
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
#endif

}  // namespace

void fillColumns(wchar_t* hexColumns, wchar_t* textColumns, const std::uint8_t* bytes, int count) {
    for (int i = 0; i < count; ++i) {
        const std::uint8_t byte = bytes[i];
        std::memcpy(&hexColumns[3 * i], HexPairTable.digits[byte],
                    sizeof HexPairTable.digits[byte]);
        textColumns[i] = byte < 0x80 ? DisplayCharTable.table[byte] : L'.';
    }
}

void fillWholeLine(wchar_t* hexColumns, wchar_t* textColumns, const std::uint8_t* bytes) {
#ifdef ZELVANE_USE_SSE2
    const __m128i line = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    const __m128i lowNibbles = _mm_set1_epi8(0x0F);
    const __m128i high = hexDigits(_mm_and_si128(_mm_srli_epi16(line, 4), lowNibbles), 'a');
    const __m128i low = hexDigits(_mm_and_si128(line, lowNibbles), 'a');
    const __m128i pairs0to7 = _mm_unpacklo_epi8(high, low);
    const __m128i pairs8to15 = _mm_unpackhi_epi8(high, low);
    const __m128i zero = _mm_setzero_si128();
    storeFourPairs(hexColumns, _mm_unpacklo_epi8(pairs0to7, zero));
    storeFourPairs(hexColumns + 12, _mm_unpackhi_epi8(pairs0to7, zero));
    storeFourPairs(hexColumns + 24, _mm_unpacklo_epi8(pairs8to15, zero));
    storeFourPairs(hexColumns + 36, _mm_unpackhi_epi8(pairs8to15, zero));

    // 0x20-0x7E as themselves. One more than each is 0x21-0x7F for them, and, as a
    // signed byte, below 0x21 for every other byte (0x7F and up wrap to 0x80-0x00).
    const __m128i printable =
        _mm_cmpgt_epi8(_mm_add_epi8(line, _mm_set1_epi8(1)), _mm_set1_epi8(0x20));
    const __m128i dots = _mm_set1_epi8('.');
    const __m128i shown = _mm_xor_si128(dots, _mm_and_si128(printable, _mm_xor_si128(line, dots)));
    storeWide(textColumns, shown);
#else
    fillColumns(hexColumns, textColumns, bytes, 16);
#endif
}
