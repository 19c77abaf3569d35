#include <cerrno>
#include <cstdint>

#include <unistd.h>

#include "io/standard_output.h"
#include "platform/utf8.h"

// Standard output as UTF-8, whatever the environment's locale: the texts are
// Japanese and must stay readable under LANG=C too.

namespace {

constexpr std::size_t BlockSize = 4096;

enum class Sink { Unknown, Console, Stream };

char pending[BlockSize];
std::size_t pendingLength = 0;
bool writeFailed = false;
Sink sink = Sink::Unknown;

void writeAll(const char* bytes, std::size_t length) {
    while (length > 0 && !writeFailed) {
        const ssize_t written = write(STDOUT_FILENO, bytes, length);
        if (written < 0) {
            if (errno == EINTR) continue;
            writeFailed = true;
            return;
        }
        bytes += written;
        length -= static_cast<std::size_t>(written);
    }
}

void writePending() {
    writeAll(pending, pendingLength);
    pendingLength = 0;
}

void putByte(char byte) {
    if (pendingLength == BlockSize) writePending();
    pending[pendingLength++] = byte;
}

Sink currentSink() {
    if (sink == Sink::Unknown) sink = isatty(STDOUT_FILENO) ? Sink::Console : Sink::Stream;
    return sink;
}

// Text mode: CR LF to a file or pipe; the console path writes LF CR.
void putLineEnd() {
    if (currentSink() == Sink::Console) {
        putByte('\n');
        putByte('\r');
    } else {
        putByte('\r');
        putByte('\n');
    }
}

}  // namespace

bool putText(const wchar_t* text, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        const auto codePoint = static_cast<std::uint32_t>(text[i]);
        if (codePoint == '\n') {
            putLineEnd();
        } else if (codePoint < 0x80) {
            putByte(static_cast<char>(codePoint));
        } else {
            char sequence[platform::MaxUtf8Length];
            const std::size_t sequenceLength = platform::encodeCodePoint(codePoint, sequence);
            if (sequenceLength == 0) return false;
            for (std::size_t j = 0; j < sequenceLength; ++j) putByte(sequence[j]);
        }
    }
    return true;
}

void endCall() {
    if (currentSink() == Sink::Console) writePending();
}

bool flushStandardOutput() {
    writePending();
    return !writeFailed;
}
