// Random bytes at a random file offset, handed to the formatter in random pieces;
// every printed line is checked against the bytes.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "captured_output.h"
#include "dump/line_formatter.h"
#include "reference_dump.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// Checks one printed line on its own terms: layout, address, columns.
void checkLine(const std::string& line, std::uint64_t lineStart, std::uint64_t start,
               const std::vector<std::uint8_t>& bytes) {
    check(line.size() == DumpLineBytes && line.compare(84, 2, "\r\n") == 0);
    char address[20];
    std::snprintf(address, sizeof address, "%08X:%08X  ", static_cast<unsigned>(lineStart >> 32),
                  static_cast<unsigned>(lineStart));
    check(line.compare(0, 19, address) == 0);
    check(line[67] == ' ');
    for (std::uint64_t column = 0; column < 16; ++column) {
        const std::uint64_t position = lineStart + column;
        const char* hex = &line[19 + 3 * column];
        const char shown = line[68 + column];
        check(hex[2] == ' ');
        if (position < start || position - start >= bytes.size()) {
            check(hex[0] == ' ' && hex[1] == ' ' && shown == ' ');
            continue;
        }
        const std::uint8_t byte = bytes[position - start];
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", byte);
        check(hex[0] == digits[0] && hex[1] == digits[1]);
        check(shown == (byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '.'));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 10) return 0;
    std::uint64_t start;
    std::memcpy(&start, data, sizeof start);
    start &= 0x7FFFFFFFFFFFFFFFull >> 1;  // leaves room for the bytes after it
    const std::uint16_t pieceSeed = static_cast<std::uint16_t>(data[8] | (data[9] << 8));
    const std::vector<std::uint8_t> bytes(data + 10, data + size);
    if (bytes.empty()) return 0;

    LineFormatter formatter;
    initLineFormatter(formatter, static_cast<std::int64_t>(start));
    std::size_t used = 0;
    auto rangeLeft = static_cast<std::int64_t>(bytes.size());
    unsigned piece = pieceSeed;
    while (used < bytes.size()) {
        // Pieces of 1 to 64 bytes, as short reads would deliver them.
        piece = piece * 1103515245u + 12345u;
        auto inHand = static_cast<std::uint32_t>(1 + (piece >> 16) % 64);
        if (inHand > bytes.size() - used) inHand = static_cast<std::uint32_t>(bytes.size() - used);
        while (inHand > 0) {
            const std::int32_t taken = formatter.step(formatter, &bytes[used], inHand, rangeLeft);
            check(taken >= 1 && static_cast<std::uint32_t>(taken) <= inHand);
            used += static_cast<std::size_t>(taken);
            inHand -= static_cast<std::uint32_t>(taken);
            rangeLeft -= taken;
        }
    }

    const std::string output = takeCapturedOutput();
    const std::string header = expectedHeader();
    check(output.compare(0, header.size(), header) == 0);
    const std::uint64_t firstLine = start / 16 * 16;
    const std::uint64_t lineCount = (start % 16 + bytes.size() + 15) / 16;
    check(output.size() == header.size() + lineCount * DumpLineBytes);
    for (std::uint64_t line = 0; line < lineCount; ++line) {
        checkLine(output.substr(header.size() + line * DumpLineBytes, DumpLineBytes),
                  firstLine + 16 * line, start, bytes);
    }
    check(output == referenceDump(start, bytes));
    return 0;
}
