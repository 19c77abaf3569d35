#pragma once

// The program's only way to standard output, a text-mode stream with the same
// rules on every platform: each character encoded for the locale, one at a time,
// plain ASCII in bulk; a character that cannot be encoded ends the call; a line
// feed written as CR LF, or as LF CR to a console; output in blocks of exactly
// 4096 bytes, but to a console at the end of every call. Once a write has failed,
// nothing more is written.

/// Writes format with each "%08X" replaced by the next argument, an unsigned
/// 32-bit value, in eight upper-case hexadecimal digits. That is the only
/// conversion understood; every other character is written as it stands.
void writeFormatted(const wchar_t* format, ...);

/// Writes text and then a line feed.
void writeLine(const wchar_t* text);

/// Whether a write to standard output has failed, so that nothing more will be
/// written.
bool outputFailed();

/// Writes what is still buffered. Returns false if any write to standard output
/// has failed since the program started.
bool finishOutput();
