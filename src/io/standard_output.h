#pragma once

// The platform half of the output helpers: encoding, line ends and buffering.

#include <cstddef>

/// Appends length characters of text; a line feed becomes the platform's line
/// end. Stops at the first character that cannot be encoded and returns false.
bool putText(const wchar_t* text, std::size_t length);

/// Appends the platform's line end.
void putLineFeed();

/// Ends one helper call: output to a console is written out now.
void endCall();

/// Writes out everything buffered. Returns false if any write has failed.
bool flushStandardOutput();
