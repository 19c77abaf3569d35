#include <windows.h>

#include <climits>
#include <cstdlib>

#include "platform/standard_output.h"

// Bytes go straight to the standard output handle with WriteFile, and to a
// console as UTF-16. The runtime's stdio is not used: it writes character devices
// such as NUL one byte at a time, and its wide-character console output fails on a
// lone lead byte of code page 932.

namespace platform {
namespace {

static_assert(MB_LEN_MAX <= MaxEncodedLength, "a multibyte character fits");

HANDLE outputHandle() { return GetStdHandle(STD_OUTPUT_HANDLE); }

bool writeAll(const char* bytes, std::size_t length) {
    const HANDLE output = outputHandle();
    while (length > 0) {
        DWORD written = 0;
        if (!WriteFile(output, bytes, static_cast<DWORD>(length), &written, nullptr) ||
            written == 0) {
            return false;
        }
        bytes += written;
        length -= written;
    }
    return true;
}

}  // namespace

bool standardOutputIsConsole() {
    DWORD mode;
    return GetConsoleMode(outputHandle(), &mode) != 0;
}

// The runtime's locale does the conversion, so the code page is the one that
// _wsetlocale chose, and a character is refused when no locale was selected.
std::size_t encodeCharacter(wchar_t character, char* out) {
    const int length = std::wctomb(out, character);
    return length > 0 ? static_cast<std::size_t>(length) : 0;
}

// A console is given UTF-16 (WriteConsoleW), which it shows whatever its input
// and output code pages are: the Japanese texts stay readable on a console set to
// code page 437 too. The bytes are the locale's own encoding, decoded again with
// the locale that made them, a piece at a time.
bool writeConsole(const char* bytes, std::size_t length) {
    const HANDLE console = outputHandle();
    constexpr std::size_t PieceLength = 1024;
    wchar_t wide[PieceLength];
    std::size_t done = 0;
    while (done < length) {
        std::size_t wideLength = 0;
        for (; done < length && wideLength < PieceLength; ++wideLength) {
            const int used = std::mbtowc(&wide[wideLength], bytes + done, length - done);
            // A NUL, or bytes the locale does not know: keep them as they are.
            if (used <= 0) wide[wideLength] = static_cast<unsigned char>(bytes[done]);
            done += used > 0 ? static_cast<std::size_t>(used) : 1;
        }
        for (std::size_t written = 0; written < wideLength;) {
            DWORD count = 0;
            const auto left = static_cast<DWORD>(wideLength - written);
            if (!WriteConsoleW(console, wide + written, left, &count, nullptr) || count == 0)
                return false;
            written += count;
        }
    }
    return true;
}

bool writeStandardOutput(const char* bytes, std::size_t length) { return writeAll(bytes, length); }

}  // namespace platform
