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

// Narrows text into out and tells whether it was plain ASCII throughout, with
// no line feed; if not, out holds nothing of use. One pass without an early exit,
// so that the compiler vectorizes it: the dump lines take this path.
bool copyPlainAscii(const wchar_t* text, std::size_t length, char* out) {
    std::uint32_t special = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const auto codePoint = static_cast<std::uint32_t>(text[i]);
        special |= static_cast<std::uint32_t>(codePoint >= 0x80) |
                   static_cast<std::uint32_t>(codePoint == '\n');
        out[i] = static_cast<char>(codePoint);
    }
    return special == 0;
}

// Puts one character that is not plain ASCII; false if it cannot be encoded.
bool putOther(wchar_t character) {
    const auto codePoint = static_cast<std::uint32_t>(character);
    if (codePoint == '\n') {
        putLineEnd();
        return true;
    }
    char sequence[platform::MaxUtf8Length];
    const std::size_t sequenceLength = platform::encodeCodePoint(codePoint, sequence);
    if (sequenceLength == 0) return false;
    for (std::size_t i = 0; i < sequenceLength; ++i) putByte(sequence[i]);
    return true;
}

}  // namespace

bool putText(const wchar_t* text, std::size_t length) {
    if (length <= BlockSize - pendingLength &&
        copyPlainAscii(text, length, pending + pendingLength)) {
        pendingLength += length;
        return true;
    }
    for (std::size_t i = 0; i < length; ++i) {
        const auto codePoint = static_cast<std::uint32_t>(text[i]);
        if (codePoint < 0x80 && codePoint != '\n') {
            putByte(static_cast<char>(codePoint));
        } else if (!putOther(text[i])) {
            return false;
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
