#pragma once

// The program's only way to standard output. Text is written as the platform's
// text-mode stream does: encoded for the locale, each line feed turned into the
// platform's line end, buffered in 4096-byte blocks to a file or pipe and written
// at once to a console. A character that cannot be encoded ends the call.

/// Writes format with each "%08X" replaced by the next argument, an unsigned
/// 32-bit value, in eight upper-case hexadecimal digits. That is the only
/// conversion understood; every other character is written as it stands.
void writeFormatted(const wchar_t* format, ...);

/// Writes text and then a line feed.
void writeLine(const wchar_t* text);

/// Writes what is still buffered. Returns false if any write to standard output
/// has failed since the program started.
bool finishOutput();
