#include <cerrno>
#include <cstdio>
#include <cwchar>

#include "io/standard_output.h"

// The runtime's text-mode standard output does the work: it converts each wide
// character to the locale's code page, turns line feeds into CR LF, buffers
// output to a file or pipe and writes a console at once.

namespace {

bool writeFailed = false;

}  // namespace

bool putText(const wchar_t* text, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        errno = 0;
        if (std::fputwc(text[i], stdout) == WEOF) {
            // A character without a form in the code page is not a write failure.
            if (errno != EILSEQ) writeFailed = true;
            std::clearerr(stdout);
            return false;
        }
    }
    return true;
}

void putLineFeed() { putText(L"\n", 1); }

// The runtime writes to a console at once by itself.
void endCall() {}

bool flushStandardOutput() {
    if (std::fflush(stdout) != 0) writeFailed = true;
    return !writeFailed;
}
