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

bool putHex(std::uint32_t value) {
    static const wchar_t Digits[] = L"0123456789ABCDEF";
    wchar_t text[HexDigitCount];
    for (std::size_t i = HexDigitCount; i-- > 0; value >>= 4) text[i] = Digits[value & 0xF];
    return putText(text, HexDigitCount);
}

bool putFormatted(const wchar_t* format, va_list arguments) {
    const wchar_t* literal = format;
    const wchar_t* position = format;
    while (*position != L'\0') {
        if (!isHexConversion(position)) {
            ++position;
            continue;
        }
        if (!putText(literal, static_cast<std::size_t>(position - literal))) return false;
        if (!putHex(va_arg(arguments, std::uint32_t))) return false;
        position += 4;
        literal = position;
    }
    return putText(literal, static_cast<std::size_t>(position - literal));
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
    if (putText(text, std::wcslen(text))) putText(L"\n", 1);
    endCall();
}

bool finishOutput() { return flushStandardOutput(); }
