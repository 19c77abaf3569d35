#include "io/output.h"

#include <cstdint>
#include <cstring>
#include <cwchar>

#include "io/narrow_ascii.h"
#include "io/hex_digits.h"
#include "platform/standard_output.h"

namespace {

constexpr std::size_t BlockSize = 4096;
constexpr std::size_t ConversionLength = 4;  // "%08X"
constexpr std::size_t HexDigitCount = 8;

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
        const bool written = toConsole()
                                 ? platform::writeConsole(output.pending, output.length)
                                 : platform::writeStandardOutput(output.pending, output.length);
        output.failed = !written;
    }
    output.length = 0;
}

// Copies bytes into the blocks; a block may end anywhere among them.
void putBytes(const char* bytes, std::size_t length) {
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

// Stores value as eight upper-case hexadecimal digits.
void storeHex(std::uint32_t value, char* out) { storeHex32(value, 'A', out); }

// Stores first and second as eight upper-case hexadecimal digits each, at out and
// one character after the first: "%08X:%08X" with both values converted together,
// leaving the character between them be.
void storeHexPair(std::uint32_t first, std::uint32_t second, char* out) {
#ifdef ZELVANE_USE_SSE2
    // The bytes of both values, the most significant first, as sixteen nibbles.
    // Put into the vector's lanes by value, so no byte order of memory is involved.
    const __m128i packed = _mm_unpacklo_epi32(
        _mm_cvtsi32_si128(static_cast<int>(__builtin_bswap32(first))),
        _mm_cvtsi32_si128(static_cast<int>(__builtin_bswap32(second))));
    const __m128i lowNibbles = _mm_set1_epi8(0x0F);
    const __m128i nibbles = _mm_unpacklo_epi8(_mm_and_si128(_mm_srli_epi16(packed, 4), lowNibbles),
                                              _mm_and_si128(packed, lowNibbles));
    const __m128i digits = hexDigits(nibbles, 'A');
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), digits);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + HexDigitCount + 1),
                     _mm_srli_si128(digits, 8));
#else
    storeHex(first, out);
    storeHex(second, out + HexDigitCount + 1);
#endif
}

// A call ends with the console up to date.
void endCall() {
    if (toConsole()) writePending();
}

// The values of one writeFormatted call, taken in turn.
struct FormatValues {
    const std::uint32_t* next;
    std::size_t left;

    std::uint32_t take() {
        if (left == 0) return 0;
        --left;
        return *next++;
    }
};

constexpr std::size_t GatherSize = 32;

// A format of plain characters and one field at most, as it prints: the plain
// characters in place and a gap for the field. A field is one conversion, or two
// with one character between them, as in an address field, converted together.
// The dump prints every address field through the same format, so its template
// is made once and found again by the format's text.
struct FormatTemplate {
    wchar_t format[GatherSize + 1] = {};  // the text it was made from
    char bytes[GatherSize] = {};
    std::size_t length = 0;
    std::size_t conversions = 0;  // in the field: 0, 1 or 2
    std::size_t fieldOffset = 0;
};
FormatTemplate lastTemplate;

// Makes the template of format, or returns false where it holds another character,
// another field or is too long for one. Kept out of writeFormatted, like
// writeEachCharacter, so that the common way through it needs few registers.
[[gnu::noinline]] bool makeTemplate(const wchar_t* format, FormatTemplate& made) {
    made.length = 0;
    made.conversions = 0;
    for (const wchar_t* position = format; *position != L'\0';) {
        if (isHexConversion(position)) {
            const bool secondOfPair =
                made.conversions == 1 && made.fieldOffset + HexDigitCount + 1 == made.length;
            if (made.length + HexDigitCount > GatherSize) return false;
            if (made.conversions != 0 && !secondOfPair) return false;
            if (made.conversions == 0) made.fieldOffset = made.length;
            ++made.conversions;
            made.length += HexDigitCount;
            position += ConversionLength;
        } else {
            if (!isPlainAscii(*position) || made.length == GatherSize) return false;
            made.bytes[made.length++] = static_cast<char>(*position++);
        }
    }
    // Every character of the format gave at least one byte, so it fits.
    std::wcscpy(made.format, format);
    return true;
}

// The template of format, made anew where format's text is not the last one seen;
// null where format cannot have one. By the text, not by its address: a caller may
// write another format into the same buffer.
const FormatTemplate* templateOf(const wchar_t* format) {
    if (std::wcscmp(format, lastTemplate.format) == 0) return &lastTemplate;
    FormatTemplate made;
    if (!makeTemplate(format, made)) return nullptr;
    lastTemplate = made;
    return &lastTemplate;
}

// Prints the template into out, which has room for GatherSize bytes, with its
// field filled in from arguments.
void fillTemplate(const FormatTemplate& filled, char* out, FormatValues& values) {
    std::memcpy(out, filled.bytes, GatherSize);
    char* field = out + filled.fieldOffset;
    if (filled.conversions == 2) {
        const std::uint32_t first = values.take();
        storeHexPair(first, values.take(), field);
    } else if (filled.conversions == 1) {
        storeHex(values.take(), field);
    }
}

// The way for any other format: one character at a time, the plain ones and the
// conversions gathered in a local buffer, the others through putText.
[[gnu::noinline]] void writeEachCharacter(const wchar_t* format, FormatValues& values) {
    char gathered[GatherSize];
    std::size_t used = 0;
    for (const wchar_t* position = format;;) {
        if (used + HexDigitCount > GatherSize || !isPlainAscii(*position)) {
            putBytes(gathered, used);
            used = 0;
        }
        if (isHexConversion(position)) {
            storeHex(values.take(), gathered + used);
            used += HexDigitCount;
            position += ConversionLength;
        } else if (isPlainAscii(*position)) {
            gathered[used++] = static_cast<char>(*position++);
        } else if (*position == L'\0' || !putText(position++, 1)) {
            return;
        }
    }
}

}  // namespace

void writeFormattedValues(const wchar_t* format, const std::uint32_t* values, std::size_t count) {
    FormatValues arguments{values, count};
    if (const FormatTemplate* found = templateOf(format)) {
        const bool direct = BlockSize - output.length >= GatherSize;
        char local[GatherSize];
        char* out = direct ? output.pending + output.length : local;
        fillTemplate(*found, out, arguments);
        if (direct) {
            output.length += found->length;
        } else {
            putBytes(local, found->length);
        }
    } else {
        writeEachCharacter(format, arguments);
    }
    endCall();
}

void writeLine(const wchar_t* text, std::size_t length) {
    // The dump lines take the short way: narrowed straight into the block, and
    // the line end after them.
    if (BlockSize - output.length >= length + LineEndLength) {
        const std::size_t plain = narrowAscii(text, length, output.pending + output.length);
        output.length += plain;
        text += plain;
        length -= plain;
        if (length == 0) {
            std::memcpy(output.pending + output.length, lineEnd(), LineEndLength);
            output.length += LineEndLength;
            endCall();
            return;
        }
    }
    if (putText(text, length)) putLineEnd();
    endCall();
}

void writeLine(const wchar_t* text) { writeLine(text, std::wcslen(text)); }

bool outputFailed() { return output.failed; }

bool finishOutput() {
    writePending();
    return !output.failed;
}
