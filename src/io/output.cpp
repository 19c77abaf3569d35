#include "io/output.h"

#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <cwchar>

#include "io/narrow_ascii.h"
#include "platform/standard_output.h"

namespace {

constexpr std::size_t BlockSize = 4096;

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

void putByte(char byte) {
    if (output.length == BlockSize) writePending();
    output.pending[output.length++] = byte;
}

// One encoded character. The console decodes each write on its own, so there a
// character is never split between two writes; elsewhere the blocks stay whole.
void putEncoded(const char* bytes, std::size_t length) {
    if (toConsole() && BlockSize - output.length < length) writePending();
    for (std::size_t i = 0; i < length; ++i) putByte(bytes[i]);
}

void putLineEnd() {
    // Byte by byte: a block may end between the two.
    const bool console = toConsole();
    putByte(console ? '\n' : '\r');
    putByte(console ? '\r' : '\n');
}

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

// Eight upper-case hexadecimal digits, straight into the block: they are ASCII.
void putHex(std::uint32_t value) {
    static const char Digits[] = "0123456789ABCDEF";
    char digits[8];
    for (int i = 7; i >= 0; --i, value >>= 4) digits[i] = Digits[value & 0xF];
    if (BlockSize - output.length >= sizeof digits) {
        std::memcpy(output.pending + output.length, digits, sizeof digits);
        output.length += sizeof digits;
        return;
    }
    for (char digit : digits) putByte(digit);
}

// A call ends with the console up to date.
void endCall() {
    if (toConsole()) writePending();
}

const wchar_t HexConversion[] = L"%08X";
constexpr std::size_t HexConversionLength = 4;

}  // namespace

void writeFormatted(const wchar_t* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    for (const wchar_t* literal = format;;) {
        const wchar_t* conversion = std::wcschr(literal, L'%');
        while (conversion != nullptr &&
               std::wcsncmp(conversion, HexConversion, HexConversionLength) != 0) {
            conversion = std::wcschr(conversion + 1, L'%');
        }
        const std::size_t literalLength = conversion != nullptr
                                              ? static_cast<std::size_t>(conversion - literal)
                                              : std::wcslen(literal);
        if (!putText(literal, literalLength) || conversion == nullptr) break;
        putHex(va_arg(arguments, std::uint32_t));
        literal = conversion + HexConversionLength;
    }
    va_end(arguments);
    endCall();
}

void writeLine(const wchar_t* text) {
    if (putText(text, std::wcslen(text))) putLineEnd();
    endCall();
}

bool outputFailed() { return output.failed; }

bool finishOutput() {
    writePending();
    return !output.failed;
}
