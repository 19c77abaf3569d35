#pragma once

// The output's fast path: the dump lines are plain ASCII and need no conversion.

#include <cstddef>
#include <cstdint>

/// narrowAsciiString reads a string in batches of this many characters where it
/// can: a whole dump line and its NUL fit in one.
constexpr std::size_t NarrowBatchLength = 80;

/// Whether a character is printable ASCII, written as the one byte of its code
/// without further thought. Control characters, among them the line feed and
/// the NUL, are left to the slower path.
inline bool isPlainAscii(wchar_t character) {
    const auto code = static_cast<std::uint32_t>(character);
    return code >= 0x20 && code < 0x80;
}

/// Copies the leading plain characters (isPlainAscii) of text[0..length) into out
/// as bytes and returns how many it copied. Writes nothing beyond out[length).
std::size_t narrowAscii(const wchar_t* text, std::size_t length, char* out);

/// The same for a NUL-terminated string whose length is not known: copies its
/// leading plain characters, at most room of them, and returns how many it copied,
/// so that text[result] is the NUL where the whole string was plain and fitted.
/// May write anything into out[result..room).
std::size_t narrowAsciiString(const wchar_t* text, std::size_t room, char* out);
