#include "app/number_parser.h"

#include "platform/platform.h"

namespace {

constexpr int NotADigit = -1;

// The first code point of every block of ten decimal digits that counts: Arabic-Indic,
// Extended Arabic-Indic, Devanagari, Bengali, Gurmukhi, Gujarati, Oriya, Telugu,
// Kannada, Malayalam, Thai, Lao, Tibetan, Myanmar, Khmer, Mongolian, Fullwidth.
constexpr std::uint32_t DigitBlockStarts[] = {0x0660, 0x06F0, 0x0966, 0x09E6, 0x0A66, 0x0AE6,
                                              0x0B66, 0x0C66, 0x0CE6, 0x0D66, 0x0E50, 0x0ED0,
                                              0x0F20, 0x1040, 0x17E0, 0x1810, 0xFF10};

std::uint32_t codePointOf(wchar_t character) { return static_cast<std::uint32_t>(character); }

bool isSpace(wchar_t character) {
    const std::uint32_t c = codePointOf(character);
    if (c <= 0xFF) return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0;
    return platform::isSpaceAboveLatin1(character);
}

// 0-9 for a decimal digit of any counted block, 10-35 for an ASCII letter.
int digitValue(wchar_t character) {
    const std::uint32_t c = codePointOf(character);
    if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'z') return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'Z') return static_cast<int>(c - 'A' + 10);
    for (const std::uint32_t start : DigitBlockStarts) {
        if (c >= start && c < start + 10) return static_cast<int>(c - start);
    }
    return NotADigit;
}

}  // namespace

std::int64_t parseNumber(const wchar_t* text, const wchar_t** stop) {
    const wchar_t* position = text;
    while (isSpace(*position)) ++position;

    bool negative = false;
    if (*position == L'+' || *position == L'-') negative = *position++ == L'-';

    unsigned base = 10;
    if (digitValue(position[0]) == 0) {
        if (position[1] == L'x' || position[1] == L'X') {
            base = 16;
            position += 2;
        } else {
            base = 8;
        }
    }

    std::uint64_t magnitude = 0;
    bool overflowed = false;
    const wchar_t* digitsStart = position;
    for (int digit;
         (digit = digitValue(*position)) != NotADigit && static_cast<unsigned>(digit) < base;
         ++position) {
        // No 64-bit division, which 32-bit x86 leaves to a helper in libgcc_s:
        // the program needs the C library alone.
        std::uint64_t next;
        if (__builtin_mul_overflow(magnitude, base, &next) ||
            __builtin_add_overflow(next, static_cast<unsigned>(digit), &next)) {
            overflowed = true;  // keep consuming digits; the value saturates below
        } else {
            magnitude = next;
        }
    }

    if (position == digitsStart) {
        *stop = text;
        return 0;
    }
    *stop = position;
    if (negative) {
        if (overflowed || magnitude > static_cast<std::uint64_t>(INT64_MAX) + 1) return INT64_MIN;
        return static_cast<std::int64_t>(0 - magnitude);
    }
    if (overflowed || magnitude > static_cast<std::uint64_t>(INT64_MAX)) return INT64_MAX;
    return static_cast<std::int64_t>(magnitude);
}

bool parseWholeNumber(const wchar_t* text, std::int64_t* value) {
    const wchar_t* stop;
    *value = parseNumber(text, &stop);
    return *stop == L'\0';
}
