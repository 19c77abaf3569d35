#pragma once

// The byte columns of a dump line: two lower-case hexadecimal digits at 3c and
// 3c + 1 of the hexadecimal area (3c + 2 stays a space), and the display
// character at c of the text area, for byte column c.

#include <cstdint>

/// The one display rule: printable ASCII (0x20-0x7E) shows as itself, every other
/// byte as ".".
constexpr wchar_t displayChar(std::uint8_t byte) {
    return byte >= 0x20 && byte <= 0x7E ? static_cast<wchar_t>(byte) : L'.';
}

/// Fills count columns from column 0 of both areas with the given bytes.
void fillColumns(wchar_t* hexColumns, wchar_t* textColumns, const std::uint8_t* bytes, int count);

/// Fills all sixteen columns; the same result as fillColumns with count 16.
void fillWholeLine(wchar_t* hexColumns, wchar_t* textColumns, const std::uint8_t* bytes);
