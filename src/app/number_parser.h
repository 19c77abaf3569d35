#pragma once

// Offsets and sizes as the user writes them: decimal, octal with a leading 0, or
// hexadecimal with a leading 0x, in ASCII or Unicode decimal digits.

#include <cstdint>

/// Converts text as the C library's wcstoll does with base 0, and stores in *stop
/// where the conversion ended: right after the last digit, or at the start of
/// text when no digit was found. Values beyond the signed 64-bit range saturate.
std::int64_t parseNumber(const wchar_t* text, const wchar_t** stop);

/// Parses the whole of text into *value. Returns false when anything is left over.
bool parseWholeNumber(const wchar_t* text, std::int64_t* value);
