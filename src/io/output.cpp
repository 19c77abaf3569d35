#include "io/output.h"

#include <cstdarg>
#include <cstdint>
#include <cwchar>

#include "io/standard_output.h"

namespace {

constexpr std::size_t HexDigitCount = 8;

bool isHexConversion(const wchar_t* text) {
    return text[0] == L'%' && text[1] == L'0' && text[2] == L'8' && text[3] == L'X';
}

// Expands the format into a small local buffer and hands it on in as few pieces
// as it fits in: one for the address field of a dump line.
bool putFormatted(const wchar_t* format, va_list arguments) {
    static const wchar_t Digits[] = L"0123456789ABCDEF";
    wchar_t expanded[64];
    std::size_t used = 0;
    for (const wchar_t* position = format; *position != L'\0';) {
        if (used + HexDigitCount > sizeof expanded / sizeof expanded[0]) {
            if (!putText(expanded, used)) return false;
            used = 0;
        }
        if (!isHexConversion(position)) {
            expanded[used++] = *position++;
            continue;
        }
        std::uint32_t value = va_arg(arguments, std::uint32_t);
        for (std::size_t i = HexDigitCount; i-- > 0; value >>= 4) {
            expanded[used + i] = Digits[value & 0xF];
        }
        used += HexDigitCount;
        position += 4;
    }
    return putText(expanded, used);
}

}  // namespace

void writeFormatted(const wchar_t* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    putFormatted(format, arguments);
    va_end(arguments);
    endCall();
}

void writeLine(const wchar_t* text) {
    if (putText(text, std::wcslen(text))) putLineFeed();
    endCall();
}

bool finishOutput() { return flushStandardOutput(); }
