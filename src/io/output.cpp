#include "io/output.h"

#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <cwchar>

#include "io/narrow_ascii.h"
#include "platform/sse2.h"
#include "platform/standard_output.h"

namespace {

constexpr std::size_t BlockSize = 4096;
constexpr std::size_t ConversionLength = 4;  // "%08X"
constexpr std::size_t HexDigitCount = 8;
constexpr std::size_t PairLength = 2 * HexDigitCount + 1;  // "%08X:%08X" converted

enum class Sink { Unknown, Console, Stream };

// Standard output is one stream for the whole process, and so is its state.
struct Output {
    char pending[BlockSize];
    std::size_t length = 0;
    bool failed = false;
    Sink sink = Sink::Unknown;
};
Output output;

bool toConsole() {
    if (output.sink == Sink::Unknown) {
        output.sink = platform::standardOutputIsConsole() ? Sink::Console : Sink::Stream;
    }
    return output.sink == Sink::Console;
}

void writePending() {
    if (output.length == 0) return;
    if (!output.failed) {
        const bool written = toConsole() ? platform::writeConsole(output.pending, output.length)
                                         : platform::writeStandardOutput(output.pending, output.length);
        output.failed = !written;
    }
    output.length = 0;
}

// Copies bytes into the blocks; a block may end anywhere among them.
void putBytes(const char* bytes, std::size_t length) {
    if (length <= BlockSize - output.length) {
        std::memcpy(output.pending + output.length, bytes, length);
        output.length += length;
        return;
    }
    while (length > 0) {
        if (output.length == BlockSize) writePending();
        std::size_t piece = BlockSize - output.length;
        if (piece > length) piece = length;
        std::memcpy(output.pending + output.length, bytes, piece);
        output.length += piece;
        bytes += piece;
        length -= piece;
    }
}

// One encoded character. The console decodes each write on its own, so there a
// character is never split between two writes; elsewhere the blocks stay whole.
void putEncoded(const char* bytes, std::size_t length) {
    if (toConsole() && BlockSize - output.length < length) writePending();
    putBytes(bytes, length);
}

// Text mode: CR LF, but LF CR to a console.
const char* lineEnd() { return toConsole() ? "\n\r" : "\r\n"; }
constexpr std::size_t LineEndLength = 2;

void putLineEnd() { putBytes(lineEnd(), LineEndLength); }

// Puts text[0..length); stops at a character that cannot be encoded and returns
// false.
bool putText(const wchar_t* text, std::size_t length) {
    while (length > 0) {
        if (output.length == BlockSize) writePending();
        std::size_t room = BlockSize - output.length;
        if (room > length) room = length;
        const std::size_t plain = narrowAscii(text, room, output.pending + output.length);
        output.length += plain;
        text += plain;
        length -= plain;
        if (plain == room) continue;

        if (*text == L'\n') {
            putLineEnd();
        } else {
            char encoded[platform::MaxEncodedLength];
            const std::size_t encodedLength = platform::encodeCharacter(*text, encoded);
            if (encodedLength == 0) return false;
            putEncoded(encoded, encodedLength);
        }
        ++text;
        --length;
    }
    return true;
}

// Stores value as eight upper-case hexadecimal digits. Each nibble is spread into
// a byte of its own and turned into a digit in one go.
void storeHex(std::uint32_t value, char* out) {
    std::uint64_t nibbles = value;
    nibbles = ((nibbles & 0xFFFF0000u) << 16) | (nibbles & 0x0000FFFFu);
    nibbles = ((nibbles & 0x0000FF000000FF00u) << 8) | (nibbles & 0x000000FF000000FFu);
    nibbles = ((nibbles & 0x00F000F000F000F0u) << 4) | (nibbles & 0x000F000F000F000Fu);
    // Byte i holds nibble i, the least significant first; 7 more from 10 on.
    const std::uint64_t aboveNine = ((nibbles + 0x0606060606060606u) >> 4) & 0x0101010101010101u;
    const std::uint64_t digits = nibbles + 0x3030303030303030u + aboveNine * 7;
    // The most significant digit first: on a little-endian processor, that is the
    // bytes in reverse.
    const std::uint64_t text = __builtin_bswap64(digits);
    std::memcpy(out, &text, sizeof text);
}

// Stores first and second as eight upper-case hexadecimal digits each, with
// separator between them: "%08X:%08X" with both values converted together.
void storeHexPair(std::uint32_t first, std::uint32_t second, char separator, char* out) {
#ifdef ZELVANE_USE_SSE2
    // The bytes of both values, the most significant first, as sixteen nibbles.
    const std::uint64_t bytes =
        __builtin_bswap64((static_cast<std::uint64_t>(first) << 32) | second);
    const __m128i packed = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(&bytes));
    const __m128i lowNibbles = _mm_set1_epi8(0x0F);
    const __m128i nibbles =
        _mm_unpacklo_epi8(_mm_and_si128(_mm_srli_epi16(packed, 4), lowNibbles),
                          _mm_and_si128(packed, lowNibbles));
    const __m128i aboveNine = _mm_cmpgt_epi8(nibbles, _mm_set1_epi8(9));
    const __m128i digits = _mm_add_epi8(_mm_add_epi8(nibbles, _mm_set1_epi8('0')),
                                        _mm_and_si128(aboveNine, _mm_set1_epi8('A' - '0' - 10)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), digits);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + HexDigitCount + 1),
                     _mm_srli_si128(digits, 8));
#else
    storeHex(first, out);
    storeHex(second, out + HexDigitCount + 1);
#endif
    out[HexDigitCount] = separator;
}

// A call ends with the console up to date.
void endCall() {
    if (toConsole()) writePending();
}

bool isHexConversion(const wchar_t* text) {
    return text[0] == L'%' && text[1] == L'0' && text[2] == L'8' && text[3] == L'X';
}

// Two conversions with one plain character between them, as in an address field.
bool isHexPair(const wchar_t* text) {
    return isHexConversion(text) && isPlainAscii(text[ConversionLength]) &&
           isHexConversion(text + ConversionLength + 1);
}

}  // namespace

// One pass over the format. Conversions and plain characters are gathered
// straight into the block where it has room enough, otherwise in a local buffer
// that is then copied; any other character goes through putText.
void writeFormatted(const wchar_t* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const wchar_t* position = format;
    for (;;) {
        constexpr std::size_t GatherSize = 64;
        char local[GatherSize];
        const bool direct = BlockSize - output.length >= GatherSize;
        char* gathered = direct ? output.pending + output.length : local;
        std::size_t used = 0;
        while (used + PairLength <= GatherSize) {
            const wchar_t character = *position;
            if (character != L'%' || !isHexConversion(position)) {
                if (!isPlainAscii(character)) break;
                gathered[used++] = static_cast<char>(character);
                ++position;
            } else if (isHexPair(position)) {
                const auto first = va_arg(arguments, std::uint32_t);
                const auto second = va_arg(arguments, std::uint32_t);
                storeHexPair(first, second, static_cast<char>(position[ConversionLength]),
                             gathered + used);
                used += PairLength;
                position += 2 * ConversionLength + 1;
            } else {
                storeHex(va_arg(arguments, std::uint32_t), gathered + used);
                used += HexDigitCount;
                position += ConversionLength;
            }
        }
        if (direct) {
            output.length += used;
        } else {
            putBytes(local, used);
        }
        const bool full = used + PairLength > GatherSize;
        if (full) continue;
        if (*position == L'\0' || !putText(position, 1)) break;
        ++position;
    }
    va_end(arguments);
    endCall();
}

void writeLine(const wchar_t* text) {
    const std::size_t length = std::wcslen(text);
    // The dump lines take the short way: plain ASCII, with room in the block for
    // the line and its line end.
    char* out = output.pending + output.length;
    if (length + LineEndLength <= BlockSize - output.length &&
        narrowAscii(text, length, out) == length) {
        std::memcpy(out + length, lineEnd(), LineEndLength);
        output.length += length + LineEndLength;
    } else if (putText(text, length)) {
        putLineEnd();
    }
    endCall();
}

bool outputFailed() { return output.failed; }

bool finishOutput() {
    writePending();
    return !output.failed;
}
