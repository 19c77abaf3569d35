#pragma once

// The primitives under the output helpers: what standard output is, how one
// character is encoded for it, and the raw writes. The rules that combine them
// (line ends, buffering, failure tracking) live in io/, once for every platform.

#include <cstddef>

namespace platform {

/// Room enough for the encoded form of any one character.
constexpr std::size_t MaxEncodedLength = 8;

/// Whether standard output is a console (a terminal), which is written at the end
/// of every output call instead of in blocks.
bool standardOutputIsConsole();

/// Encodes one character in the output encoding (the code page of the selected
/// locale on Windows, UTF-8 elsewhere) and returns its length, at most
/// MaxEncodedLength; 0 when the character has no form there.
std::size_t encodeCharacter(wchar_t character, char* out);

/// Writes all of bytes to standard output when it is not a console. Returns false
/// when a write fails; then some of the bytes may have been written.
bool writeStandardOutput(const char* bytes, std::size_t length);

/// Writes bytes made of whole encodeCharacter forms to the console. Returns false
/// when the write fails.
bool writeConsole(const char* bytes, std::size_t length);

}  // namespace platform
