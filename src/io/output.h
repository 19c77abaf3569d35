#pragma once

// The program's only way to standard output, a text-mode stream with the same
// rules on every platform: each character encoded for the locale, one at a time,
// plain ASCII in bulk; a character that cannot be encoded ends the call; a line
// feed written as CR LF, or as LF CR to a console; output in blocks of exactly
// 4096 bytes, but to a console at the end of every call. Once a write has failed,
// nothing more is written.

#include <cstddef>
#include <cstdint>
#include <type_traits>

/// The one conversion that writeFormatted understands: "%08X".
constexpr bool isHexConversion(const wchar_t* text) {
    return text[0] == L'%' && text[1] == L'0' && text[2] == L'8' && text[3] == L'X';
}

/// How many conversions format holds.
constexpr std::size_t conversionCount(const wchar_t* format) {
    std::size_t count = 0;
    for (; *format != L'\0'; ++format) count += isHexConversion(format) ? 1 : 0;
    return count;
}

/// Writes format with its conversions replaced by values[0..count) in turn, each
/// in eight upper-case hexadecimal digits (a conversion beyond them as zero);
/// every other character is written as it stands. Call it through writeFormatted.
void writeFormattedValues(const wchar_t* format, const std::uint32_t* values, std::size_t count);

// Not constexpr, and never defined: a format whose conversions differ in number
// from its values calls it while the program is compiled, which stops the build.
void formatNeedsOneValuePerConversion();

/// A constant format for writeFormatted that holds exactly ValueCount conversions,
/// checked when the program is compiled.
template <std::size_t ValueCount>
struct HexFormat {
    template <std::size_t Length>
    consteval HexFormat(const wchar_t (&format)[Length]) : text(format) {  // NOLINT: implicit on purpose
        if (conversionCount(format) != ValueCount) formatNeedsOneValuePerConversion();
    }
    const wchar_t* text;
};

/// Writes format with each "%08X" replaced by the next value. Only a constant
/// format with one unsigned 32-bit value per conversion compiles: a wider value
/// would be cut short, and a missing one printed as zero, without a word.
template <typename... Values>
void writeFormatted(HexFormat<sizeof...(Values)> format, Values... values) {
    static_assert((std::is_same_v<Values, std::uint32_t> && ...),
                  "writeFormatted takes std::uint32_t values only");
    const std::uint32_t array[sizeof...(Values) + 1] = {values...};
    writeFormattedValues(format.text, array, sizeof...(Values));
}

/// Writes text[0..length) and then a line feed.
void writeLine(const wchar_t* text, std::size_t length);

/// Writes the NUL-terminated text and then a line feed.
void writeLine(const wchar_t* text);

/// Whether a write to standard output has failed, so that nothing more will be
/// written.
bool outputFailed();

/// Writes what is still buffered. Returns false if any write to standard output
/// has failed since the program started.
bool finishOutput();
