#pragma once

// The output's fast path: the dump lines are plain ASCII and need no conversion.

#include <cstddef>
#include <cstdint>

/// Whether a character is printable ASCII, written as the one byte of its code
/// without further thought. Control characters, among them the line feed and
/// the NUL, are left to the slower path.
inline bool isPlainAscii(wchar_t character) {
    const auto code = static_cast<std::uint32_t>(character);
    return code >= 0x20 && code < 0x80;
}

/// Copies the leading plain characters (isPlainAscii) of text[0..length) into out
/// as bytes and returns how many it copied. Reads nothing beyond text[length) and
/// writes nothing beyond out[length).
std::size_t narrowAscii(const wchar_t* text, std::size_t length, char* out);
