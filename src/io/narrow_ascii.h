#pragma once

// The output's fast path: the dump lines are plain ASCII and need no conversion.

#include <cstddef>

/// Copies the leading plain characters of text[0..length) into out as bytes and
/// returns how many it copied: it stops before the first NUL, line feed or
/// character above U+007F. Writes nothing beyond out[length).
std::size_t narrowAscii(const wchar_t* text, std::size_t length, char* out);
