#pragma once

// UTF-8 for the POSIX build, where wchar_t holds a whole code point. Arguments and
// paths are bytes there, so decoding is lossless: a byte that is not part of a
// valid sequence becomes the reserved code point U+DC80 + byte and encodes back to
// the very same byte.

#include <cstddef>
#include <cstdint>

namespace platform {

/// The longest UTF-8 sequence of one code point.
constexpr std::size_t MaxUtf8Length = 4;

/// Writes the UTF-8 form of a Unicode scalar value into out and returns its
/// length; returns 0 for a surrogate or a value above U+10FFFF.
std::size_t encodeCodePoint(std::uint32_t codePoint, char* out);

/// Decodes the NUL-terminated bytes into out, which must hold one wide character
/// per byte plus the terminating NUL. Returns the number of characters written
/// before the NUL.
std::size_t decodeBytesLosslessly(const char* bytes, wchar_t* out);

/// Encodes text back into the bytes it was decoded from, NUL-terminated. Returns
/// false when the result does not fit in capacity bytes or when text holds a
/// character that has no byte form (a surrogate outside the reserved range).
bool encodeBytesLosslessly(const wchar_t* text, char* out, std::size_t capacity);

}  // namespace platform
