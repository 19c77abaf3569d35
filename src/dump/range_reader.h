#pragma once

// Reads one byte range of an open file and prints its dump.

#include <cstdint>

#include "platform/platform.h"

/// Bytes read from the file at a time; the whole memory the dump needs.
constexpr std::uint32_t ReadBlockSize = 8192;

/// Dumps size bytes from offset on, clamping size to the end of the file (size is
/// lowered in place). Returns Success, InvalidArguments when offset lies at or
/// beyond the end, SizeQueryFailed, ReadFailed when positioning or reading fails,
/// or OutputFailed when standard output failed, which ends the dump before the
/// next read. Lines printed before a failure stay printed; when the file ends
/// before the range does, the last line read is printed too, blank after its end.
int dumpRange(platform::FileHandle file, std::int64_t& offset, std::int64_t& size);
