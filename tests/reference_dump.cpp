#include "reference_dump.h"

#include <cstdio>

#include "platform_text.h"

std::string expectedHeader() {
    return platformText(
        "         アドレス  00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F  0123456789ABCDEF\r\n");
}

std::string referenceLines(std::uint64_t start, const std::vector<std::uint8_t>& bytes) {
    std::string text;
    const std::uint64_t end = start + bytes.size();
    for (std::uint64_t lineStart = start / 16 * 16; lineStart < end; lineStart += 16) {
        char field[32];
        std::snprintf(field, sizeof field, "%08X:%08X  ", static_cast<unsigned>(lineStart >> 32),
                      static_cast<unsigned>(lineStart & 0xFFFFFFFFu));
        std::string hex;
        std::string chars;
        for (std::uint64_t position = lineStart; position < lineStart + 16; ++position) {
            if (position < start || position >= end) {
                hex += "   ";
                chars += ' ';
                continue;
            }
            const unsigned byte = bytes[static_cast<std::size_t>(position - start)];
            char group[4];
            std::snprintf(group, sizeof group, "%02x ", byte);
            hex += group;
            chars += (byte >= 0x20 && byte <= 0x7E) ? static_cast<char>(byte) : '.';
        }
        text += field + hex + " " + chars + "\r\n";
    }
    return text;
}

std::string referenceDump(std::uint64_t start, const std::vector<std::uint8_t>& bytes) {
    return expectedHeader() + referenceLines(start, bytes);
}

std::string referenceDumpReadUpTo(std::uint64_t start, const std::vector<std::uint8_t>& bytes,
                                  std::uint64_t readEnd) {
    if (readEnd <= start) return {};
    const std::size_t completeLines = static_cast<std::size_t>(readEnd / 16 - start / 16);
    const std::string lines = referenceLines(start, bytes);
    return expectedHeader() + lines.substr(0, completeLines * DumpLineBytes);
}
