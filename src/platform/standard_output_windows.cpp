#include <windows.h>

#include <climits>
#include <cstdlib>

#include "platform/standard_output.h"

// Bytes go straight to the standard output handle with WriteFile. The runtime's
// stdio is not used: it writes character devices such as NUL one byte at a time,
// and its wide-character console output fails on a lone lead byte of code page 932.

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

// The console shows text in its own code page: decode the locale's bytes again
// and encode them for the console.
bool writeConsole(const char* bytes, std::size_t length) {
    wchar_t wide[4096];
    std::size_t wideLength = 0;
    for (std::size_t done = 0; done < length && wideLength < 4096; ++wideLength) {
        const int used = std::mbtowc(&wide[wideLength], bytes + done, length - done);
        if (used <= 0) {
            // A NUL, or bytes the locale does not know: keep them as they are.
            wide[wideLength] = static_cast<unsigned char>(bytes[done]);
            ++done;
            continue;
        }
        done += static_cast<std::size_t>(used);
    }
    char encoded[4096 * 3];
    const int encodedLength =
        WideCharToMultiByte(GetConsoleCP(), 0, wide, static_cast<int>(wideLength), encoded,
                            static_cast<int>(sizeof encoded), nullptr, nullptr);
    return encodedLength > 0 && writeAll(encoded, static_cast<std::size_t>(encodedLength));
}

bool writeStandardOutput(const char* bytes, std::size_t length) { return writeAll(bytes, length); }

}  // namespace platform
