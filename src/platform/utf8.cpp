#include "platform/utf8.h"

namespace platform {
namespace {

static_assert(sizeof(wchar_t) == 4, "the POSIX build expects wchar_t to hold a code point");

constexpr std::uint32_t EscapeBase = 0xDC00;  // U+DC80..U+DCFF carry the bytes 0x80..0xFF
constexpr std::uint32_t EscapeFirst = 0xDC80;
constexpr std::uint32_t EscapeLast = 0xDCFF;

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes one well-formed sequence at bytes; returns its length, or 0 when the
// bytes there do not start one (overlong forms, surrogates and values above
// U+10FFFF are not well-formed).
std::size_t decodeSequence(const unsigned char* bytes, std::uint32_t* codePoint) {
    const unsigned char lead = bytes[0];
    std::size_t length;
    std::uint32_t value;
    std::uint32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        // A NUL is not a continuation byte, so this never reads past the end.
        if (!isContinuation(bytes[i])) return 0;
        value = (value << 6) | (bytes[i] & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *codePoint = value;
    return length;
}

}  // namespace

std::size_t encodeCodePoint(std::uint32_t codePoint, char* out) {
    if (codePoint < 0x80) {
        out[0] = static_cast<char>(codePoint);
        return 1;
    }
    if (codePoint < 0x800) {
        out[0] = static_cast<char>(0xC0 | (codePoint >> 6));
        out[1] = static_cast<char>(0x80 | (codePoint & 0x3F));
        return 2;
    }
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return 0;
    if (codePoint < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (codePoint >> 12));
        out[1] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (codePoint & 0x3F));
        return 3;
    }
    if (codePoint <= 0x10FFFF) {
        out[0] = static_cast<char>(0xF0 | (codePoint >> 18));
        out[1] = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out[2] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out[3] = static_cast<char>(0x80 | (codePoint & 0x3F));
        return 4;
    }
    return 0;
}

std::size_t decodeBytesLosslessly(const char* bytes, wchar_t* out) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes);
    std::size_t count = 0;
    while (*in != 0) {
        std::uint32_t codePoint;
        if (*in < 0x80) {
            codePoint = *in++;
        } else if (const std::size_t length = decodeSequence(in, &codePoint)) {
            in += length;
        } else {
            codePoint = EscapeBase + *in++;
        }
        out[count++] = static_cast<wchar_t>(codePoint);
    }
    out[count] = L'\0';
    return count;
}

bool encodeBytesLosslessly(const wchar_t* text, char* out, std::size_t capacity) {
    std::size_t used = 0;
    for (; *text != L'\0'; ++text) {
        const auto codePoint = static_cast<std::uint32_t>(*text);
        char sequence[MaxUtf8Length];
        std::size_t length;
        if (codePoint >= EscapeFirst && codePoint <= EscapeLast) {
            sequence[0] = static_cast<char>(codePoint - EscapeBase);
            length = 1;
        } else {
            length = encodeCodePoint(codePoint, sequence);
            if (length == 0) return false;
        }
        if (capacity - used <= length) return false;  // keep room for the NUL
        for (std::size_t i = 0; i < length; ++i) out[used++] = sequence[i];
    }
    if (used >= capacity) return false;
    out[used] = '\0';
    return true;
}

}  // namespace platform
