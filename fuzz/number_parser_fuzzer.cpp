// Properties of the number conversion that must hold for every input. The input
// bytes are read as 16-bit code units, so every character of the Basic
// Multilingual Plane is reachable, as on Windows.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/number_parser.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

std::int64_t parse(const std::wstring& text, std::size_t* stopIndex) {
    const wchar_t* stop = nullptr;
    const std::int64_t value = parseNumber(text.c_str(), &stop);
    check(stop >= text.c_str() && stop <= text.c_str() + text.size());
    *stopIndex = static_cast<std::size_t>(stop - text.c_str());
    return value;
}

bool isAsciiDigit(wchar_t character) { return character >= L'0' && character <= L'9'; }

// A plain digit-by-digit sum, for strings short enough not to overflow.
void checkShortAsciiNumbers(const std::wstring& text, std::int64_t value, std::size_t stop) {
    if (text.empty() || text.size() > 18) return;
    for (wchar_t character : text) {
        if (!isAsciiDigit(character)) return;
    }
    const bool octal = text[0] == L'0';
    std::int64_t expected = 0;
    for (wchar_t character : text) {
        if (octal && character > L'7') return;
        expected = expected * (octal ? 8 : 10) + (character - L'0');
    }
    check(value == expected);
    check(stop == text.size());
}

const wchar_t WhiteSpace[] = {0x09,   0x0A,   0x0B,   0x0C,   0x0D,   0x20,   0x85,   0xA0,  0x1680,
                              0x2000, 0x2005, 0x200A, 0x2028, 0x2029, 0x202F, 0x205F, 0x3000};

void checkLeadingWhiteSpace(const std::wstring& text, std::int64_t value, std::size_t stop,
                            std::uint8_t choice) {
    const std::wstring prefix(1 + choice % 3,
                              WhiteSpace[choice % (sizeof WhiteSpace / sizeof WhiteSpace[0])]);
    std::size_t prefixedStop = 0;
    check(parse(prefix + text, &prefixedStop) == value);
    // Without a digit, conversion stops at the very start, white space or not.
    check(prefixedStop == (stop == 0 ? 0 : stop + prefix.size()));
}

void checkSigns(const std::wstring& text, std::int64_t value) {
    if (text.empty() || !isAsciiDigit(text[0])) return;
    std::size_t stop = 0;
    check(parse(L"+" + text, &stop) == value);
    const std::int64_t negated = parse(L"-" + text, &stop);
    if (value < INT64_MAX) {
        check(negated == -value);
    } else {
        // INT64_MAX is either the exact value or a saturated larger one.
        check(negated == -INT64_MAX || negated == INT64_MIN);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t choice = data[0];
    std::wstring text;
    for (std::size_t i = 1; i + 1 < size; i += 2) {
        const auto unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (unit == L'\0') break;
        text += unit;
    }
    std::size_t stop = 0;
    const std::int64_t value = parse(text, &stop);
    checkShortAsciiNumbers(text, value, stop);
    checkLeadingWhiteSpace(text, value, stop, choice);
    checkSigns(text, value);
    return 0;
}
