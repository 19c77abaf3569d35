#pragma once

// Turns the bytes of a range into the dump's text: the column header, then one
// line per 16-byte stretch of the file, aligned to the file rather than to the
// range, with blank columns before the first and after the last byte.

#include <cstdint>

struct LineFormatter;

/// Formats bytes[0..inHand) of a range that has rangeLeft bytes still to show
/// (counting those in hand) and returns how many it took, at least 1.
using LineStep = std::int32_t (*)(LineFormatter& formatter, const std::uint8_t* bytes,
                                  std::uint32_t inHand, std::int64_t rangeLeft);

// The line after the address field: a hexadecimal column of HexColumnWidth
// characters per byte (two digits and a space), a separating space, and one
// display character per byte.
constexpr int BytesPerLine = 16;
constexpr int HexColumnWidth = 3;
constexpr int SeparatorPosition = BytesPerLine * HexColumnWidth;
constexpr int TextColumnsStart = SeparatorPosition + 1;
constexpr int LineLength = TextColumnsStart + BytesPerLine;

/// The line being built and where the next byte goes. It points into itself, so
/// its owner sets it up in place with initLineFormatter, and it cannot be copied.
struct LineFormatter {
    LineFormatter() = default;
    LineFormatter(const LineFormatter&) = delete;
    LineFormatter& operator=(const LineFormatter&) = delete;

    wchar_t line[LineLength + 1];
    wchar_t* hexColumns;
    wchar_t* textColumns;
    std::int32_t column;  // the next byte column to fill, 0-15 between steps
    LineStep step;        // call the next bytes through this
    std::uint64_t address;
};

/// Sets formatter up for a range that starts at file offset startOffset.
void initLineFormatter(LineFormatter& formatter, std::int64_t startOffset);

/// The first step: prints the column header, then formats like formatBytes.
std::int32_t beginDump(LineFormatter& formatter, const std::uint8_t* bytes, std::uint32_t inHand,
                       std::int64_t rangeLeft);

/// Fills the line's columns and prints the line once it is full or the range ends.
/// From an empty line it takes every whole line in hand at once, printing each.
std::int32_t formatBytes(LineFormatter& formatter, const std::uint8_t* bytes, std::uint32_t inHand,
                         std::int64_t rangeLeft);

/// Prints the line being filled, blank after its last byte, as if the range ended
/// there; prints nothing when no byte waits in a line. For a range that cannot be
/// completed, so that no byte read goes unshown.
void finishLine(LineFormatter& formatter);
