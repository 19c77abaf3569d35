#include <unistd.h>

#include <cerrno>
#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

bool isPlain(std::uint32_t codePoint) { return codePoint < 0x80 && codePoint != '\n'; }

// Narrows text into out and tells whether it was plain ASCII throughout, with no
// line feed; if not, out holds nothing of use. The dump lines all take this path,
// so whole groups of characters are checked and narrowed at once where the
// processor allows.
bool copyPlainAscii(const wchar_t* text, std::size_t length, char* out) {
    std::size_t done = 0;
#ifdef __SSE2__
    static_assert(sizeof(wchar_t) == 4, "four characters to a vector");
    const __m128i highBits = _mm_set1_epi32(~0x7F);
    const __m128i lineFeeds = _mm_set1_epi32('\n');
    __m128i special = _mm_setzero_si128();
    for (; done + 16 <= length; done += 16) {
        const auto* group = reinterpret_cast<const __m128i*>(text + done);
        const __m128i a = _mm_loadu_si128(group);
        const __m128i b = _mm_loadu_si128(group + 1);
        const __m128i c = _mm_loadu_si128(group + 2);
        const __m128i d = _mm_loadu_si128(group + 3);
        const __m128i all = _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d));
        special = _mm_or_si128(special, _mm_and_si128(all, highBits));
        const __m128i feeds = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi32(a, lineFeeds), _mm_cmpeq_epi32(b, lineFeeds)),
            _mm_or_si128(_mm_cmpeq_epi32(c, lineFeeds), _mm_cmpeq_epi32(d, lineFeeds)));
        special = _mm_or_si128(special, feeds);
        // Values below 0x80 pass both saturating packs unchanged.
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(a, b), _mm_packs_epi32(c, d));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + done), bytes);
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(special, _mm_setzero_si128())) != 0xFFFF) return false;
#endif
    bool plain = true;
    for (; done < length; ++done) {
        const auto codePoint = static_cast<std::uint32_t>(text[done]);
        plain &= isPlain(codePoint);
        out[done] = static_cast<char>(codePoint);
    }
    return plain;
}

// Puts one character that is not plain ASCII; false if it cannot be encoded.
bool putOther(wchar_t character) {
    const auto codePoint = static_cast<std::uint32_t>(character);
    if (codePoint == '\n') {
        putLineFeed();
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
        if (isPlain(codePoint)) {
            putByte(static_cast<char>(codePoint));
        } else if (!putOther(text[i])) {
            return false;
        }
    }
    return true;
}

// Text mode: CR LF to a file or pipe; the console path writes LF CR.
void putLineFeed() {
    // Byte by byte: a block may end between the two.
    const bool console = currentSink() == Sink::Console;
    putByte(console ? '\n' : '\r');
    putByte(console ? '\r' : '\n');
}

void endCall() {
    if (currentSink() == Sink::Console) writePending();
}

bool flushStandardOutput() {
    writePending();
    return !writeFailed;
}
