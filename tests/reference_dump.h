#pragma once

// An independent, deliberately plain rendering of the expected dump text, to
// compare the program's output against.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

/// Bytes of one dump line in a file: 84 characters and CR LF.
constexpr std::size_t DumpLineBytes = 86;

/// The column header as the program writes it to a file.
std::string expectedHeader();

/// The dump lines, each ending in CR LF, for bytes found at file offset start.
std::string referenceLines(std::uint64_t start, const std::vector<std::uint8_t>& bytes);

/// The header followed by referenceLines.
std::string referenceDump(std::uint64_t start, const std::vector<std::uint8_t>& bytes);

/// What must stay printed of that dump when reading stops with an error at file
/// position readEnd: the header and the lines that end at or before readEnd, but
/// nothing at all when no byte was read.
std::string referenceDumpReadUpTo(std::uint64_t start, const std::vector<std::uint8_t>& bytes,
                                  std::uint64_t readEnd);
